#include "CliCommand.h"
#include "CliOptions.h"
#include "CliProgress.h"

#include "core/IPrompter.h"
#include "media/image/CMovieWriter.h"
#include "tools/videoconversion/CImagesToMovie.h"
#include "tools/videoconversion/CMovieToImages.h"

#include <cstdio>

namespace {
const char* const kImagesUsage =
    "images-to-avi OUT.avi IMAGE... [--fps N] [--width W] [--height H] [--codec NAME] [--quality 1-100]";
const char* const kFramesUsage = "avi-to-images IN.avi OUT.bmp [--no-alpha]";
const char* const kImagesOptions = "--fps N\tframes per second, 1 to 1000 (25)\n"
                                   "--width W\twidth of the movie (720)\n"
                                   "--height H\theight of the movie (576)\n"
                                   "--codec NAME\tcompression (mjpeg); the usage error lists those this system has\n"
                                   "--quality 1-100\tquality of a lossy compression";
const char* const kFramesOptions = "--no-alpha\twrites no alpha pictures";

struct MovieOptions {
    CImagesToMovie::Settings size;
    CMovieCompression compression;
};

QString codecList()
{
    QStringList names;
    for (const auto& offer : CMovieCompression::offered())
        names << QLatin1String(offer.encoder);
    return names.join(QLatin1Char('|'));
}

CConversionProgress progressOn(CliProgress& bar)
{
    CConversionProgress progress;
    progress.status = [&bar](const std::string& text, int done, int total) { bar.update(done, total, text); };
    progress.stopRequested = [&bar] { return bar.interrupted(); };
    return progress;
}

// 0 done, 130 stopped by Ctrl+C, 1 any other early end.
int report(const CConversionResult& result, const QString& summary)
{
    std::printf("%s\n", qPrintable(summary));
    if (result.end == CConversionResult::End::Stopped)
        return 130;
    if (!result.done())
        return fail(QString::fromStdString(result.reason()));
    return 0;
}

int runImagesToAvi(const QStringList& args)
{
    MovieOptions options;
    const QString usage =
        usageWithOptions(kImagesUsage, kImagesOptions) + QStringLiteral("\ncodecs: %1").arg(codecList());
    const auto files = parseCliOptions(args, [&](const QString& key, const QString& value) {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (key == QLatin1String("--codec")) {
            if (!CMovieCompression::offer(value.toStdString()))
                return CliOption::BadValue;
            options.compression.encoder = value.toStdString();
            return CliOption::Taken;
        }
        const struct {
            const char* key;
            int* field;
            int low, high;
        } numbers[] = {{"--fps", &options.size.framesPerSecond, 1, 1000},
                       {"--width", &options.size.width, 1, 16384},
                       {"--height", &options.size.height, 1, 16384},
                       {"--quality", &options.compression.quality, 1, 100}};
        for (const auto& n : numbers)
            if (key == QLatin1String(n.key)) {
                if (!ok || number < n.low || number > n.high)
                    return CliOption::BadValue;
                *n.field = number;
                return CliOption::Taken;
            }
        return CliOption::Unknown;
    }, usage);
    if (!files)
        return 1;
    if (files->size() < 2)
        return fail(usage);
    std::vector<std::string> sources;
    for (qsizetype i = 1; i < files->size(); ++i)
        sources.push_back(files->at(i).toLocal8Bit().toStdString());
    CMovieWriter writer(&consolePrompter());
    writer.setCompression(options.compression);
    CliProgress bar;
    const CConversionResult result =
        CImagesToMovie().run(sources, files->first().toLocal8Bit().toStdString(), options.size, writer, progressOn(bar));
    bar.finish();
    return report(result, QStringLiteral("%1: %2 frames, %3 x %4, %5 fps, %6")
                              .arg(files->first())
                              .arg(result.frames)
                              .arg(options.size.width)
                              .arg(options.size.height)
                              .arg(options.size.framesPerSecond)
                              .arg(QString::fromStdString(options.compression.encoder)));
}

int runAviToImages(const QStringList& args)
{
    bool alpha = true;
    QStringList files;
    for (const QString& a : args) {
        if (a == QLatin1String("--no-alpha"))
            alpha = false;
        else if (a.startsWith(QLatin1String("--")))
            return fail(usageWithOptions(kFramesUsage, kFramesOptions));
        else
            files << a;
    }
    if (files.size() != 2)
        return fail(usageWithOptions(kFramesUsage, kFramesOptions));
    CliProgress bar;
    const CConversionResult result = CMovieToImages().run(files[0].toLocal8Bit().toStdString(),
                                                          files[1].toLocal8Bit().toStdString(), alpha, progressOn(bar));
    bar.finish();
    return report(result, QStringLiteral("%1: %2 frames written").arg(files[1]).arg(result.frames));
}
} // namespace

CliCommand imagesToAviCommand()
{
    return {"images-to-avi", kImagesUsage, "makes an AVI movie of pictures, each stretched to fill the frame",
            runImagesToAvi, kImagesOptions, kStoppableExits};
}

CliCommand aviToImagesCommand()
{
    return {"avi-to-images", kFramesUsage,
            "writes every frame of a video as OUT_000001.bmp ... and its alpha as OUT_ALPHA000001.bmp ...",
            runAviToImages, kFramesOptions, kStoppableExits};
}
