#include "CliCommand.h"

#include <QCoreApplication>

#include <cstdio>
#include <new>
#include <vector>

static std::vector<CliCommand> commands()
{
    return {infoCommand(), resaveCommand(), dumpCommand(), extractCommand(), packCommand(), bassDrumCommand(),
            renderWorldCommand(),
            analyzeCommand(), toMidiCommand(), textureMapsCommand(),
            mixCommand(), playCommand(),
            imagesToAviCommand(), aviToImagesCommand(), convertResourcesCommand(), splitSoundsCommand(),
            diffCommand(), textconvCommand(), mergeCommand(), exportTmxCommand(), importTmxCommand(), exportWorldTmxCommand(),
            exportSheetCommand(), importSheetCommand()};
}

static void printUsage()
{
    std::fprintf(stderr, "Usage: quillop-cli COMMAND [ARGS]\n\nCommands:\n");
    for (const CliCommand& c : commands())
        std::fprintf(stderr, "  %-40s %s\n", c.usage, c.summary);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << argumentText(QByteArray(argv[i]));
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printUsage();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const CliCommand& c : commands()) {
        if (name != QLatin1String(c.name))
            continue;
        // "COMMAND --help" is a question, never a value for an option.
        if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
            std::printf("%s", qPrintable(commandHelp(c)));
            return 0;
        }
        try {
            return c.run(args);
        } catch (const std::bad_alloc&) {
            return fail(QStringLiteral("%1: not enough memory").arg(name));
        }
    }
    std::fprintf(stderr, "quillop-cli: unknown command '%s'\n", qPrintable(name));
    printUsage();
    return 2;
}
