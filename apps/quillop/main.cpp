#include "app/CMainFrame.h"
#include "app/CQuillopApp.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(CQuillopApp::kOrganisation));
    QApplication::setApplicationName(QStringLiteral("Quillop"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(CQuillopApp::kTitle));

    CQuillopApp quillop;
    if (!quillop.loadInterface(CInterfaceResources::defaultFileName(), CUiServices::prompter()))
        return 1;
    quillop.loadSettings();

    CMainFrame frame(quillop);
    // One file name on the command line is opened; when that fails the
    // program ends, as nothing the user asked for can be shown.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty() && !frame.openDocument(arguments.front()))
        return 1;
    frame.showMaximized();
    quillop.startAudio();
    const int result = QApplication::exec();
    quillop.saveSettings();
    return result;
}
