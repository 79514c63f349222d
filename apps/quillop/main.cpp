#include "app/CMainFrame.h"
#include "app/CQuillopApp.h"
#include "app/CRecoveryOffer.h"
#include "app/CScreenshotTour.h"
#include "app/CSingleInstance.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CQuillopApp::describeApplication();

    QStringList arguments = QApplication::arguments().mid(1);
    // "--new-instance" starts an editor of its own even when one runs.
    const bool own = arguments.removeAll(QStringLiteral("--new-instance")) > 0 ||
                     arguments.contains(QStringLiteral("--screenshots"));
    // Only on a real desktop: headless runs (tests, scripts) never meet.
    const bool desktop = QApplication::platformName() == QLatin1String("xcb") ||
                         QApplication::platformName() == QLatin1String("wayland");
    CSingleInstance instance;
    if (desktop && !own && !arguments.isEmpty() && instance.handOver(arguments))
        return 0;

    CQuillopApp quillop;
    if (!quillop.loadInterface(CInterfaceResources::defaultFileName(), CUiServices::prompter()))
        return 1;
    quillop.loadSettings();

    CMainFrame frame(quillop);
    // One file name on the command line is opened; when that fails the
    // program ends, as nothing the user asked for can be shown.
    // "--screenshots FOLDER" pictures the editor's views and ends.
    QString screenshots;
    if (const auto at = arguments.indexOf(QStringLiteral("--screenshots")); at >= 0 && at + 1 < arguments.size()) {
        screenshots = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    if (!arguments.isEmpty() && !frame.openDocument(arguments.front()))
        return 1;
    if (!screenshots.isEmpty()) {
        frame.showMaximized();
        frame.resize(1280, 800);
        return CScreenshotTour::run(frame, screenshots) > 0 ? 0 : 1;
    }
    frame.showWhereItWas();
    // What a crash or a kill left behind is offered back first.
    CRecoveryOffer::offer(frame);
    if (desktop && !own) {
        QObject::connect(&instance, &CSingleInstance::filesHandedOver, &frame, [&frame](const QStringList& paths) {
            frame.openFiles(paths);
            frame.raise();
            frame.activateWindow();
        });
        instance.listen();
    }
    quillop.startAudio();
    const int result = QApplication::exec();
    quillop.saveSettings();
    return result;
}
