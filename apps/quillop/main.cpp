#include "app/CMainFrame.h"
#include "app/CQuillopApp.h"
#include "app/CRecoveryOffer.h"
#include "app/CScreenshotTour.h"
#include "app/CSingleInstance.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace {
// Answered before any window system is needed, so it works on a terminal
// without a display and the manual page can be made from it.
const char* const kHelp =
    "usage: quillop [--new-instance] [FILE.mrc ...]\n"
    "  the editor for the resources of games and multimedia programs; opens each FILE in a window of its own\n"
    "\n"
    "options:\n"
    "  --new-instance          starts an editor of its own even when one already runs on this display\n"
    "                          (otherwise the files are handed to the running editor)\n"
    "  --screenshots FOLDER    pictures the editor's views as PNG files in FOLDER and ends\n"
    "  --help                  prints this text\n"
    "\n"
    "exit status:\n"
    "  0                       the editor was closed, or the files were handed to the running editor\n"
    "  1                       a file given could not be opened, or the interface could not be loaded\n";

bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (asksForHelp(argc, argv)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
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

    // Pictures of the editor as a dark desktop would show it; set before any
    // window so that every picture and icon is made in those colours.
    if (arguments.contains(QStringLiteral("--screenshots")) &&
        qEnvironmentVariable("QUILLOP_PALETTE") == QLatin1String("dark"))
        CScreenshotTour::useDarkPalette();
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
