#include "app/CMainFrame.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setApplicationName(QStringLiteral("Quillop"));
    CMainFrame frame;
    frame.showMaximized();
    return QApplication::exec();
}
