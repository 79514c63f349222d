#include "media/audio/CSoundSet.h"
#include "media/output/CAudioPlayer.h"
#include "media/output/FakeAudioBackend.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CPictureButton.h"
#include "params/ui/CProgressWindow.h"
#include "tools/analysis/CAwaFile.h"
#include "tools/bassdrum/ui/CDocGenerateBassDrumTechno1.h"
#include "tools/bitmapcolors/ui/CDocExtractBitmapColors.h"
#include "tools/midi/ui/CDocConvertToMidi.h"
#include "ui/ToolWindowTesting.h"
#include "ui/UiFakes.h"

#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
// What an outside program prints; `ran` is false when it is not installed.
QString outputOf(const QString& program, const QStringList& arguments, bool& ran)
{
    QProcess process;
    process.start(program, arguments);
    ran = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}


// Types into a typed field as a user does.
void type(CMVT_EditTyped* edit, const char* text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

struct ToolWindows : ::testing::Test {
    ScriptedUi ui;
    TempFolder folder;
    ToolWindows() { CMVT_ParametersDocument::setMemoryFile(QString::fromStdString(folder.path("memory.ini"))); }
};
} // namespace

TEST_F(ToolWindows, ConvertToMidiLoadsBothInputsAndWritesAFileMidicsvReads)
{
    // Half a second of 220.5 Hz (a steady period of 100 samples at 22050 Hz).
    CSoundSet sound;
    sound.setSampleRate(22050);
    CSampleBuffer& channel = sound.addChannel();
    channel.resize(11025);
    for (std::uint32_t i = 0; i < 11025; ++i)
        channel.set(i, 0.6 * std::sin(2.0 * std::numbers::pi * i / 100.0));
    const std::string wav = folder.path("a3.wav");
    const std::string awa = folder.path("a3.awa");
    const std::string mid = folder.path("a3.mid");
    ASSERT_EQ(sound.writeWav(wav, 0, 11025, 16, 22050, 0, 1, {}), 1);
    ASSERT_EQ(CAwaFile::write(awa, std::vector<double>(11025, 100.0)), 1);

    CDocConvertToMidi tool;
    tool.create();
    EXPECT_EQ(tool.caption(), "Convert To Midi - No Name");
    EXPECT_EQ(tool.info.shownText(), QStringLiteral("No AWA Loaded."));
    ui.files.answers = {{wav}, {awa}};
    ASSERT_TRUE(tool.wav.browse());
    ASSERT_TRUE(tool.awa.browse());
    EXPECT_EQ(ui.files.requests[1].filter, CAwaFile::kFilter);
    press(tool.load);
    EXPECT_EQ(tool.info.shownText().toStdString(),
              "a3, 16 Bits, 1 Channels, 22050 Hz, 11 025 Samples, Time 0:00.500\nAWA Loaded, file size: 11025 data.");

    press(tool.run);
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], "No destination .MID file specified !");

    tool.output.setPath(mid);
    whileShown<CProgressWindow>(closeWhenEnded);
    EXPECT_EQ(tool.convert(), 1);
    EXPECT_NE(tool.progress().runner().log().currentText().find("Conversion successfully done."), std::string::npos);
    bool ran = false;
    const QString csv = outputOf(QStringLiteral("midicsv"), {QString::fromStdString(mid)}, ran);
    if (!ran)
        GTEST_SKIP() << "midicsv is not installed";
    EXPECT_TRUE(csv.contains(QStringLiteral("0, 0, Header, 1, 2, 96"))) << csv.toStdString();
    EXPECT_TRUE(csv.contains(QStringLiteral("Tempo, 500000")));
    EXPECT_TRUE(csv.contains(QStringLiteral("Note_on_c, 0, 57, 127"))) << csv.toStdString();
}

TEST_F(ToolWindows, BassDrumRedrawsOnEveryChangeSavesForSoxiAndPlaysThroughThePlayer)
{
    auto backend = std::make_unique<FakeAudioBackend>();
    CAudioPlayer player(std::move(backend));
    player.initialise(CAudioSettings(), std::chrono::milliseconds(0));
    CDocGenerateBassDrumTechno1 tool(&player);
    tool.create();
    EXPECT_EQ(tool.caption(), "Generate Bass Drum Techno 1 - No Name");
    EXPECT_EQ(tool.engine().sound().count(), 2203u);
    EXPECT_EQ(tool.picture.picture().size(), QSize(1000, 100));
    const QImage before = tool.picture.picture();
    type(tool.deceleration.edit(), "2");
    EXPECT_NE(tool.picture.picture(), before) << "the waveform is drawn again";

    struct Change {
        CMVT_ParamInteger* integer;
        CMVT_ParamFloat* real;
        const char* typed;
        std::uint32_t samples;
        QSize picture;
    };
    const Change changes[] = {
        {&tool.width, nullptr, "500", 1102, {500, 100}},
        {&tool.height, nullptr, "64", 1102, {500, 64}},
        {nullptr, &tool.startFrequency, "10", 0, {500, 64}},
        {nullptr, &tool.startFrequency, "16000", 1102, {500, 64}},
    };
    for (const Change& c : changes) {
        type(c.integer ? c.integer->edit() : c.real->edit(), c.typed);
        EXPECT_EQ(tool.engine().sound().count(), c.samples) << c.typed;
        EXPECT_EQ(tool.picture.picture().size(), c.picture) << c.typed;
    }
    EXPECT_TRUE(tool.isModified());

    const std::string wav = folder.path("drum.wav");
    tool.destination.setPath(wav);
    type(tool.bits.edit(), "8");
    press(tool.save);
    bool ran = false;
    const QString info = outputOf(QStringLiteral("soxi"), {QString::fromStdString(wav)}, ran);
    if (ran) {
        EXPECT_TRUE(info.contains(QStringLiteral("Channels       : 1")));
        EXPECT_TRUE(info.contains(QStringLiteral("Sample Rate    : 44100")));
        EXPECT_TRUE(info.contains(QStringLiteral("Precision      : 8-bit")));
        EXPECT_TRUE(info.contains(QStringLiteral("1102 samples"))) << info.toStdString();
    }
    // Bits the writer has no form for: the file is refused and the user told.
    type(tool.bits.edit(), "24");
    tool.destination.setPath(folder.path("drum24.wav"));
    press(tool.save);
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], CDocGenerateBassDrumTechno1::kCannotSave);
    type(tool.bits.edit(), "16");

    press(tool.play);
    EXPECT_EQ(tool.previewSound().frames(), 1102);
    EXPECT_EQ(player.state(&tool.previewSound()), CAudioPlayer::Playing);
}

TEST_F(ToolWindows, ExtractBitmapColorsWritesBothMapsBesideTheSource)
{
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(100, 40, 20));
    source.setPixel(1, 0, qRgb(0, 0, 0));
    const std::string wall = folder.path("wall.bmp");
    ASSERT_TRUE(source.save(QString::fromStdString(wall)));

    CDocExtractBitmapColors tool;
    tool.create();
    EXPECT_EQ(tool.caption(), "Extract Bitmap Colors - No Name");
    ui.files.answers = {{wall}};
    ASSERT_TRUE(tool.bitmap.fileField()->browse());
    EXPECT_EQ(ui.files.requests[0].filter, CDocExtractBitmapColors::kBmpFilter);
    EXPECT_EQ(tool.bitmap.picture().size(), QSize(2, 1)) << "the source shows once chosen";

    struct Case {
        CMVT_ParamButton* button;
        const char* file;
        QRgb first;
    };
    for (const Case& c : {Case{&tool.diffuse, "wall_DIFFUSE.bmp", qRgb(255, 102, 51)},
                          Case{&tool.bump, "wall_BUMP.bmp", qRgb(53, 53, 53)}}) {
        press(*c.button);
        const QImage written(QString::fromStdString(folder.path(c.file)));
        ASSERT_FALSE(written.isNull()) << c.file;
        EXPECT_EQ(written.pixel(0, 0), c.first) << c.file;
        EXPECT_EQ(written.pixel(1, 0), qRgb(0, 0, 0)) << c.file;
        EXPECT_EQ(tool.bitmap.picture().pixel(0, 0) & 0xFFFFFF, c.first & 0xFFFFFF) << c.file;
    }
}
