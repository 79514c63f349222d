#include "CliCommand.h"
#include "CliProgress.h"

#include "tools/resourcemanager/CResourceFilesManager.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {
const char* const kUsage = "convert-resources FILE... [--workers N]";
const char* const kOptions = "--workers N\tfiles converted at once, 1 to 256 (one per processor)";

int runConvertResources(const QStringList& args)
{
    int workers = int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::string> files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--workers") && i + 1 < args.size()) {
            bool ok = false;
            workers = args[++i].toInt(&ok);
            if (!ok || workers < 1 || workers > 256)
                return fail(QStringLiteral("--workers: a number from 1 to 256"));
        } else if (args[i].startsWith(QLatin1String("--"))) {
            return fail(usageWithOptions(kUsage, kOptions));
        } else {
            files.push_back(args[i].toLocal8Bit().toStdString());
        }
    }
    if (files.empty())
        return fail(usageWithOptions(kUsage, kOptions));

    CliProgress bar;
    std::atomic<int> done{0};
    const int total = int(files.size());
    // Existing "-NEW-" files are never replaced from the terminal: they are
    // listed with the skipped files and can be removed by hand.
    const auto outcomes = CResourceFilesManager::convertAll(files, workers, {}, [&](const auto& outcome) {
        bar.update(++done, total, outcome.source);
    });
    bar.finish();
    int converted = 0;
    for (const auto& o : outcomes)
        if (o.outcome == CResourceFilesManager::Outcome::Converted)
            ++converted;
    std::printf("%d of %d files converted", converted, total);
    if (converted < total)
        std::printf("; skipped:");
    std::printf("\n");
    for (const auto& o : outcomes)
        if (o.outcome != CResourceFilesManager::Outcome::Converted)
            std::printf("  %s: %s\n", o.source.c_str(), CResourceFilesManager::outcomeText(o).c_str());
    return converted == total ? 0 : 1;
}
} // namespace

CliCommand convertResourcesCommand()
{
    return {"convert-resources", kUsage,
            "rewrites resource files in the current format as NAME-NEW-.mrc beside them, in parallel",
            runConvertResources, kOptions};
}
