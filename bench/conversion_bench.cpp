// The conversions against references measured in the same run.
//
// Video: 500 frames of 720 x 576 turned into an MJPEG AVI and back into
// BMP files, by this program's conversions and by the `ffmpeg` command
// doing the same (same quality, same picture files); "ratio" is our time
// over ffmpeg's, so below 1.5 is the goal. Skipped when ffmpeg is missing.
//
// Resources: 200 copies of the demo document converted with two workers
// and with one; "ratio" is one worker's time over two workers'.

#include "media/image/CMovieWriter.h"
#include "tools/resourcemanager/CResourceFilesManager.h"
#include "tools/videoconversion/CImagesToMovie.h"
#include "tools/videoconversion/CMovieToImages.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool runFfmpeg(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y"} + args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Moving gradients with a shape: something a compressor has to work on.
std::vector<std::string> makeFrames(const QDir& dir, int count)
{
    std::vector<std::string> names;
    QImage frame(720, 576, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        for (int y = 0; y < frame.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
            for (int x = 0; x < frame.width(); ++x)
                line[x] = qRgb((x + i * 3) & 255, (y + i) & 255, (x ^ y) & 255);
        }
        QPainter(&frame).fillRect(i % 600, 200, 120, 120, Qt::white);
        names.push_back(dir.filePath(QStringLiteral("in_%1.bmp").arg(i + 1, 6, 10, QLatin1Char('0'))).toStdString());
        frame.save(QString::fromStdString(names.back()));
    }
    return names;
}

void VideoBothWaysAgainstFfmpeg(benchmark::State& state)
{
    const int frames = int(state.range(0));
    QTemporaryDir dir;
    const QDir d(dir.path());
    const std::vector<std::string> sources = makeFrames(d, frames);
    if (!runFfmpeg({"-version"})) {
        state.SkipWithError("ffmpeg is not installed");
        return;
    }
    double ours = 0, theirs = 0, oursBack = 0, theirsBack = 0;
    for (auto _ : state) {
        CMovieCompression mjpeg;
        mjpeg.quality = CMovieCompression::kDefaultQuality;
        const QString qscale = QString::number(CMovieCompression::quantiser(mjpeg.quality));

        auto start = Clock::now();
        CMovieWriter writer;
        writer.setCompression(mjpeg);
        CImagesToMovie().run(sources, d.filePath("ours.avi").toStdString(), {25, 720, 576}, writer);
        ours += seconds(start);

        start = Clock::now();
        runFfmpeg({"-framerate", "25", "-i", d.filePath("in_%06d.bmp"), "-c:v", "mjpeg", "-q:v", qscale,
                   "-pix_fmt", "yuvj420p", d.filePath("theirs.avi")});
        theirs += seconds(start);

        d.mkdir("ours"), d.mkdir("theirs");
        start = Clock::now();
        CMovieToImages().run(d.filePath("ours.avi").toStdString(), d.filePath("ours/f.bmp").toStdString(), false);
        oursBack += seconds(start);

        start = Clock::now();
        runFfmpeg({"-i", d.filePath("ours.avi"), "-pix_fmt", "bgr24", d.filePath("theirs/f_%06d.bmp")});
        theirsBack += seconds(start);
    }
    const double n = double(state.iterations());
    state.counters["to_movie_s"] = ours / n;
    state.counters["ffmpeg_to_movie_s"] = theirs / n;
    state.counters["to_movie_ratio"] = ours / theirs;
    state.counters["to_images_s"] = oursBack / n;
    state.counters["ffmpeg_to_images_s"] = theirsBack / n;
    state.counters["to_images_ratio"] = oursBack / theirsBack;
    state.counters["frames"] = frames;
}
BENCHMARK(VideoBothWaysAgainstFfmpeg)->Arg(500)->Iterations(1)->Unit(benchmark::kSecond);

void ResourcesTwoWorkersAgainstOne(benchmark::State& state)
{
    const int files = int(state.range(0));
    QTemporaryDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < files; ++i) {
        paths.push_back(QDir(dir.path()).filePath(QStringLiteral("doc%1.mrc").arg(i)).toStdString());
        QFile::copy(QStringLiteral(QUILLOP_DEMO), QString::fromStdString(paths.back()));
    }
    const auto replace = [](const std::string&) { return true; };
    double one = 0, two = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        CResourceFilesManager::convertAll(paths, 1, replace);
        one += seconds(start);
        start = Clock::now();
        CResourceFilesManager::convertAll(paths, 2, replace);
        two += seconds(start);
    }
    state.counters["one_worker_s"] = one / double(state.iterations());
    state.counters["two_workers_s"] = two / double(state.iterations());
    state.counters["ratio"] = one / two;
}
BENCHMARK(ResourcesTwoWorkersAgainstOne)->Arg(200)->Iterations(3)->Unit(benchmark::kSecond);
} // namespace
