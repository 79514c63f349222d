#include "app/CMainFrame.h"

#include <QMdiArea>
#include <QStatusBar>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_mdi(new QMdiArea(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setCentralWidget(m_mdi);
    statusBar()->showMessage(tr("Ready"));
    resize(1024, 720);
}
