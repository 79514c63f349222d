#include "app/CScreenshotTour.h"

#include "app/CMainFrame.h"
#include "core/ui/CDocumentPropertiesDialog.h"
#include "core/ui/CQuillopView.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <QToolBar>

namespace {
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool save(const QPixmap& picture, const QString& folder, const QString& name)
{
    return picture.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}
} // namespace

int CScreenshotTour::run(CMainFrame& frame, const QString& folder)
{
    QDir().mkpath(folder);
    int written = 0;
    settle();
    written += save(frame.grab(), folder, QStringLiteral("main")) ? 1 : 0;
    if (CQuillopView* view = frame.activeView()) {
        for (int panel = 0; panel < CQuillopView::kPanelCount; ++panel) {
            view->showPanel(panel, false);
            settle();
            written += save(frame.grab(), folder, QStringLiteral("panel%1").arg(panel)) ? 1 : 0;
        }
        view->showPanel(0, false);
    }
    // The main menu drawn below its button, over the window as a user sees it.
    QMenu* menu = frame.buildMainMenu(&frame);
    menu->adjustSize();
    QPixmap window = frame.grab();
    {
        QPainter painter(&window);
        const QPoint at(4, frame.commandBar() ? frame.commandBar()->geometry().bottom() : 40);
        painter.drawPixmap(at, menu->grab());
    }
    written += save(window, folder, QStringLiteral("main-menu")) ? 1 : 0;
    delete menu;
    if (CQuillopDoc* document = frame.activeDocument()) {
        CDocumentPropertiesDialog dialog(*document, &frame);
        dialog.show();
        settle();
        written += save(dialog.grab(), folder, QStringLiteral("properties")) ? 1 : 0;
        dialog.reject();
    }
    return written;
}
