#include "app/CMainFrame.h"
#include "app/CQuillopApp.h"
#include "app/CScreenshotTour.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CQuillopApp::describeApplication();

    CQuillopApp quillop;
    if (!quillop.loadInterface(CInterfaceResources::defaultFileName(), CUiServices::prompter()))
        return 1;
    quillop.loadSettings();

    CMainFrame frame(quillop);
    // One file name on the command line is opened; when that fails the
    // program ends, as nothing the user asked for can be shown.
    QStringList arguments = QApplication::arguments().mid(1);
    // "--screenshots FOLDER" pictures the editor's views and ends.
    QString screenshots;
    if (const auto at = arguments.indexOf(QStringLiteral("--screenshots")); at >= 0 && at + 1 < arguments.size()) {
        screenshots = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    if (!arguments.isEmpty() && !frame.openDocument(arguments.front()))
        return 1;
    frame.showMaximized();
    if (!screenshots.isEmpty()) {
        frame.resize(1280, 800);
        return CScreenshotTour::run(frame, screenshots) > 0 ? 0 : 1;
    }
    quillop.startAudio();
    const int result = QApplication::exec();
    quillop.saveSettings();
    return result;
}
