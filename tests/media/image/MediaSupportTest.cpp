#include "media/image/CFrameRateMeter.h"
#include "media/image/CMovieWriter.h"
#include "media/image/CDisplayBuffer.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

TEST(FrameRateMeter, ConvergesTowardsTheTickRate)
{
    CFrameRateMeter meter;
    EXPECT_EQ(meter.text(), "1.00 Fps");
    meter.tickElapsed(20, 1000); // 50 frames per second
    EXPECT_EQ(meter.text(), "1.49 Fps");
    for (int i = 0; i < 2000; ++i)
        meter.tickElapsed(20, 1000);
    EXPECT_EQ(meter.text(), "50.00 Fps");
    // No time elapsed: the last instant rate counts again.
    meter.tickElapsed(0, 1000);
    EXPECT_DOUBLE_EQ(meter.instant(), 50.0);
    meter.tick();
    EXPECT_GT(meter.instant(), 0.0);
}

namespace {
QImage solidFrame(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// ffprobe's answer for the first video stream: codec,width,height,frames.
QString probe(const std::string& path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                              "stream=codec_name,width,height,nb_read_frames", "-of", "csv=p=0",
                              QString::fromStdString(path)});
    if (!ffprobe.waitForFinished(30000))
        return "ffprobe did not finish";
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
}
} // namespace

TEST(MovieWriter, WritesAnAviThatFfprobeReads)
{
    TempFolder folder;
    const std::string path = folder.path("movie.avi");
    writeAll(path, "old contents");
    CMovieWriter writer;
    EXPECT_EQ(writer.addFrame(solidFrame(4, 4, 0xFF0000)), 0); // closed
    ASSERT_EQ(writer.open(path, 0), 1);
    EXPECT_EQ(writer.framesPerSecond(), 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(writer.state(), CMovieWriter::WaitingForFirstFrame);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(writer.addFrame(solidFrame(65, 33, qRgb(i * 50, 0, 0))), 1) << i;
    ASSERT_EQ(writer.addFrame(solidFrame(10, 10, qRgb(0, 0, 255))), 1); // placed on a frame of the movie's size
    EXPECT_EQ(writer.state(), CMovieWriter::Writing);
    writer.close();
    EXPECT_EQ(writer.state(), CMovieWriter::Closed);
    EXPECT_EQ(probe(path), "mjpeg,65,33,6");
}

TEST(MovieWriter, CompressorIsAParameter)
{
    TempFolder folder;
    for (const char* codec : {"rawvideo", "ffv1", "mpeg4"}) {
        const std::string path = folder.path(std::string(codec) + ".avi");
        CMovieWriter writer;
        writer.setCodec(codec);
        ASSERT_EQ(writer.open(path, 25), 1);
        CDisplayBuffer bitmap;
        ASSERT_EQ(bitmap.create(4, 32, 16), 1);
        bitmap.fill(0x00FF00);
        bitmap.setOffsetX(1e300); // a movie frame ignores the drawing offset
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(writer.addFrame(bitmap), 1) << codec;
        writer.close();
        EXPECT_EQ(probe(path), QString("%1,32,16,3").arg(codec)) << codec;
    }
}

TEST(MovieWriter, FailuresTellTheUserAndLeaveTheWriterClosed)
{
    TempFolder folder;
    ScriptedPrompter prompter;
    CMovieWriter writer(&prompter);
    writer.setCodec("no-such-codec");
    const std::string path = folder.path("bad.avi");
    ASSERT_EQ(writer.open(path), 1);
    EXPECT_EQ(writer.addFrame(solidFrame(8, 8, 0)), 0);
    EXPECT_EQ(writer.state(), CMovieWriter::Closed);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0], "Unable to Create Compressed Stream");
    EXPECT_EQ(prompter.messages[1], "Error Occured While Rendering the Movie");
    EXPECT_EQ(prompter.icons[0], IPrompter::Icon::Stop);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

    prompter.messages.clear();
    writer.setCodec(CMovieWriter::kDefaultCodec);
    ASSERT_EQ(writer.open(folder.path("missing-folder/x.avi")), 1);
    EXPECT_EQ(writer.addFrame(solidFrame(8, 8, 0)), 0);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0], "Unable to Create the Movie File");
}

TEST(MovieWriter, TheChooserPicksTheCompressorAndCancellingLeavesNoMovie)
{
    struct Chooser : ICompressionChooser {
        std::optional<CMovieCompression> answer;
        int asked = 0;
        std::optional<CMovieCompression> chooseCompression(int, int) override
        {
            ++asked;
            return answer;
        }
    } chooser;
    TempFolder folder;
    ScriptedPrompter prompter;
    CMovieWriter writer(&prompter);
    writer.setCompressionChooser(&chooser);
    const std::string path = folder.path("chosen.avi");

    ASSERT_EQ(writer.open(path), 1);
    EXPECT_EQ(writer.addFrame(solidFrame(8, 8, 0)), 0);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"Error Occured While Rendering the Movie"});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

    chooser.answer = CMovieCompression{"ffv1", 50};
    ASSERT_EQ(writer.open(path), 1);
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(writer.addFrame(solidFrame(8, 8, 0)), 1);
    writer.close();
    EXPECT_EQ(chooser.asked, 2); // once per movie, not per frame
    EXPECT_EQ(probe(path), "ffv1,8,8,2");
    EXPECT_EQ(CMovieCompression::quantiser(100), 2);
    EXPECT_EQ(CMovieCompression::quantiser(1), 31);
}
