#include "media/image/CMovieWriter.h"
#include "media/image/CVideoReader.h"
#include "tools/videoconversion/CFrameFileNames.h"
#include "tools/videoconversion/CImagesToMovie.h"
#include "tools/videoconversion/CMovieToImages.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
using End = CConversionResult::End;

QStringList filesIn(const std::string& folder)
{
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name);
}

// ffprobe's count of the frames it decodes, with the size: "w,h,frames".
QString probe(const std::string& path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                              "stream=width,height,nb_read_frames", "-of", "csv=p=0", QString::fromStdString(path)});
    if (!ffprobe.waitForFinished(30000))
        return "ffprobe did not finish";
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
}

void savePicture(const std::string& path, int w, int h, QRgb left, QRgb right)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(left);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            image.setPixel(x, y, right);
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 && std::abs(qBlue(a) - qBlue(b)) < 24;
}
} // namespace

TEST(FrameFileNames, NumberGoesAfterTheFileNameBeforeItsExtension)
{
    const struct {
        const char* destination;
        int frame;
        const char* picture;
        const char* alpha;
    } cases[] = {
        {"out/frames.bmp", 1, "out/frames_000001.bmp", "out/frames_ALPHA000001.bmp"},
        {"frames.bmp", 123456, "frames_123456.bmp", "frames_ALPHA123456.bmp"},
        {"my.dir/frames", 2, "my.dir/frames_000002", "my.dir/frames_ALPHA000002"},
        {"a/.hidden", 3, "a/.hidden_000003", "a/.hidden_ALPHA000003"},
        {"x.tar.png", 7, "x.tar_000007.png", "x.tar_ALPHA000007.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CFrameFileNames::picture(c.destination, c.frame), c.picture);
        EXPECT_EQ(CFrameFileNames::alpha(c.destination, c.frame), c.alpha);
    }
}

TEST(MovieToImages, ThreeFramesWithAlphaGiveSixNumberedFiles)
{
    TempFolder folder;
    const std::string movie = folder.path("alpha.avi");
    {
        // FFV1 keeps the alpha channel of frames that have one.
        CMovieWriter writer;
        writer.setCodec("ffv1");
        ASSERT_EQ(writer.open(movie, 25), 1);
        for (int i = 0; i < 3; ++i) {
            QImage frame(16, 8, QImage::Format_ARGB32);
            frame.fill(qRgba(200, 10 * i, 0, 64 * (i + 1)));
            ASSERT_EQ(writer.addFrame(frame), 1);
        }
    }
    CVideoReader reader;
    ASSERT_EQ(reader.open(movie), 1);
    EXPECT_EQ(reader.width(), 16);
    EXPECT_EQ(reader.height(), 8);
    EXPECT_EQ(reader.frameCount(), 3);
    EXPECT_DOUBLE_EQ(reader.framesPerSecond(), 25.0);
    EXPECT_TRUE(reader.hasAlpha());

    std::vector<std::string> statuses;
    CConversionProgress progress;
    progress.status = [&](const std::string& text, int, int) { statuses.push_back(text); };
    const std::string out = folder.path("out");
    QDir().mkpath(QString::fromStdString(out));
    const CConversionResult result = CMovieToImages().run(movie, out + "/frames.bmp", true, progress);
    EXPECT_TRUE(result.done()) << result.reason();
    EXPECT_EQ(result.frames, 3);
    EXPECT_EQ(filesIn(out), QStringList({"frames_000001.bmp", "frames_000002.bmp", "frames_000003.bmp",
                                         "frames_ALPHA000001.bmp", "frames_ALPHA000002.bmp",
                                         "frames_ALPHA000003.bmp"}));
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front(), "Extracting video frame: 1 / 3\n");
    EXPECT_EQ(statuses.back(), "Done.");
    const QImage alpha2(QString::fromStdString(out + "/frames_ALPHA000002.bmp"));
    EXPECT_EQ(qGray(alpha2.pixel(3, 3)), 128);
    EXPECT_TRUE(near(QImage(QString::fromStdString(out + "/frames_000002.bmp")).pixel(3, 3), qRgb(200, 10, 0)));

    // Without alpha only the pictures; PNG destinations give PNG files.
    const std::string plain = folder.path("plain");
    QDir().mkpath(QString::fromStdString(plain));
    EXPECT_TRUE(CMovieToImages().run(movie, plain + "/f.png", false).done());
    EXPECT_EQ(filesIn(plain), QStringList({"f_000001.png", "f_000002.png", "f_000003.png"}));
    EXPECT_EQ(QImage(QString::fromStdString(plain + "/f_000001.png")).format(), QImage::Format_RGB32);

    EXPECT_EQ(CMovieToImages().run(folder.path("none.avi"), plain + "/g.bmp", true).end, End::OpenFailed);
}

TEST(ImagesToMovie, MissingSecondFileWritesAOneFrameMovie)
{
    TempFolder folder;
    savePicture(folder.path("a.png"), 10, 10, qRgb(255, 0, 0), qRgb(255, 0, 0));
    savePicture(folder.path("c.png"), 10, 10, qRgb(0, 255, 0), qRgb(0, 255, 0));
    CMovieWriter writer;
    const CConversionResult result = CImagesToMovie().run(
        {folder.path("a.png"), folder.path("b.png"), folder.path("c.png")}, folder.path("m.avi"), {25, 64, 48}, writer);
    EXPECT_EQ(result.end, End::MissingFile);
    EXPECT_EQ(result.file, folder.path("b.png"));
    EXPECT_EQ(result.frames, 1);
    EXPECT_EQ(probe(folder.path("m.avi")), "64,48,1");
}

TEST(ImagesToMovie, RoundTripKeepsFrameCountAndSizeAndFillsTheFrame)
{
    TempFolder folder;
    std::vector<std::string> sources;
    for (int i = 0; i < 5; ++i) {
        sources.push_back(folder.path("in" + std::to_string(i) + ".png"));
        // Sizes that differ from the movie's: each is stretched to fill it.
        savePicture(sources.back(), 20 + 7 * i, 9 + 3 * i, qRgb(255, 0, 0), qRgb(0, 0, 255));
    }
    for (const char* codec : {"mjpeg", "rawvideo"}) {
        const std::string movie = folder.path(std::string(codec) + ".avi");
        CMovieWriter writer;
        writer.setCodec(codec);
        const CConversionResult made = CImagesToMovie().run(sources, movie, {10, 80, 60}, writer);
        ASSERT_TRUE(made.done()) << made.reason();
        EXPECT_EQ(probe(movie), "80,60,5") << codec;

        const std::string out = folder.path(std::string("out-") + codec);
        QDir().mkpath(QString::fromStdString(out));
        const CConversionResult back = CMovieToImages().run(movie, out + "/f.bmp", false);
        EXPECT_TRUE(back.done());
        EXPECT_EQ(back.frames, 5);
        ASSERT_EQ(filesIn(out).size(), 5) << codec;
        const QImage last(QString::fromStdString(out + "/f_000005.bmp"));
        EXPECT_EQ(last.size(), QSize(80, 60));
        EXPECT_TRUE(near(last.pixel(10, 5), qRgb(255, 0, 0))) << codec; // top left stays up and left
        EXPECT_TRUE(near(last.pixel(70, 55), qRgb(0, 0, 255))) << codec;
    }

    // Stopping after the first frame keeps that frame.
    CMovieWriter writer;
    CConversionProgress stopAtOnce;
    stopAtOnce.stopRequested = [] { return true; };
    const CConversionResult stopped =
        CImagesToMovie().run(sources, folder.path("stopped.avi"), {10, 32, 32}, writer, stopAtOnce);
    EXPECT_EQ(stopped.end, End::Stopped);
    EXPECT_EQ(probe(folder.path("stopped.avi")), "32,32,1");
}

TEST(VideoConversion, ADestinationThatNamesNoFileIsRefusedAndNothingIsWritten)
{
    TempFolder folder;
    savePicture(folder.path("a.png"), 10, 10, qRgb(255, 0, 0), qRgb(255, 0, 0));
    CMovieWriter writer;
    ASSERT_EQ(writer.open(folder.path("m.avi"), 25), 1);
    ASSERT_EQ(writer.addFrame(QImage(8, 8, QImage::Format_RGB32)), 1);
    writer.close();
    const QStringList before = filesIn(folder.path("."));
    const QStringList here = QDir::current().entryList(QDir::Files);
    for (const std::string& destination : {std::string(), folder.path(""), folder.path(".") + "/", folder.path(".")}) {
        const CConversionResult toImages = CMovieToImages().run(folder.path("m.avi"), destination, true);
        EXPECT_EQ(toImages.end, End::NoDestination) << destination;
        EXPECT_EQ(toImages.reason(), CConversionResult::kNoDestination);
        CMovieWriter movie;
        EXPECT_EQ(CImagesToMovie().run({folder.path("a.png")}, destination, {25, 8, 8}, movie).end, End::NoDestination)
            << destination;
    }
    EXPECT_EQ(filesIn(folder.path(".")), before);
    EXPECT_EQ(QDir::current().entryList(QDir::Files), here);
}
