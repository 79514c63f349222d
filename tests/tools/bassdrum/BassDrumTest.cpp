#include "media/audio/CSoundSet.h"
#include "tools/bassdrum/CBassDrumEngine.h"
#include "tools/bassdrum/CBassDrumPreview.h"
#include "tools/bassdrum/CBassDrumSynth.h"
#include "tools/bassdrum/CBassDrumWavInfo.h"

#include "media/audio/SoxTools.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cmath>

namespace {
CBassDrumParameters withFrequencies(double start, double end, double deceleration)
{
    CBassDrumParameters p;
    p.startFrequency = start;
    p.endFrequency = end;
    p.deceleration = deceleration;
    return p;
}

std::optional<std::uint32_t> countOf(double start, double end, double deceleration)
{
    return CBassDrumSynth::sampleCount(withFrequencies(start, end, deceleration));
}
} // namespace

TEST(BassDrumSynth, SampleCounts)
{
    EXPECT_EQ(countOf(16000, 20, 1.0), 2203u);
    EXPECT_EQ(countOf(16000, 20, 2.0), 1102u);
    EXPECT_EQ(countOf(20, 16000, 1.0), 0u);
    EXPECT_EQ(countOf(440, 440, 1.0), 0u);
    CBassDrumParameters slowRate = withFrequencies(16000, 20, 1.0);
    slowRate.sampleRate = 8000;
    EXPECT_EQ(CBassDrumSynth::sampleCount(slowRate), 400u); // periods 0.5 .. 399.5
}

TEST(BassDrumSynth, DecelerationsThatWouldNeverEndAreRefused)
{
    for (double d : {0.0, -1.0, std::nan(""), 1e-9}) {
        EXPECT_FALSE(countOf(16000, 20, d)) << d;
        CSampleBuffer out;
        out.resize(10, true);
        EXPECT_EQ(CBassDrumSynth::render(withFrequencies(16000, 20, d), out), 0) << d;
        EXPECT_EQ(out.count(), 0u) << d;
    }
    EXPECT_FALSE(countOf(16000, 0, 1.0));
    // Rising frequencies end at once whatever the deceleration.
    EXPECT_FALSE(countOf(20, 16000, 0.0));
}

TEST(BassDrumSynth, SineWithAGrowingPeriod)
{
    CSampleBuffer out;
    ASSERT_EQ(CBassDrumSynth::render(CBassDrumParameters{}, out), 1);
    ASSERT_EQ(out.count(), 2203u);
    const double period0 = 44100.0 / 16000.0;
    EXPECT_DOUBLE_EQ(out.get(0), std::sin(6.283185307179586 / period0));
    EXPECT_DOUBLE_EQ(out.get(1), std::sin(6.283185307179586 / period0 + 6.283185307179586 / (period0 + 1.0)));
    double largest = 0;
    for (std::uint32_t i = 0; i < out.count(); ++i)
        largest = std::max(largest, std::fabs(out.get(i)));
    EXPECT_LE(largest, 1.0);
    EXPECT_GT(largest, 0.99);
    // Near the end the period is close to 2205 samples: the phase barely moves.
    EXPECT_NEAR(out.get(2202) - out.get(2201), 0.0, 6.3 / 2200.0);
}

TEST(BassDrumSynth, ProgressCanAbort)
{
    CBassDrumParameters p = withFrequencies(16000, 20, 0.01);
    const auto count = CBassDrumSynth::sampleCount(p);
    ASSERT_TRUE(count);
    EXPECT_NEAR(double(*count), (2205.0 - 2.75625) / 0.01, 5.0); // rounding of 220 000 additions
    const int total = static_cast<int>(*count);
    int calls = 0;
    CSampleBuffer out;
    EXPECT_EQ(CBassDrumSynth::render(p, out, [&](int current, int max) {
        EXPECT_EQ(max, total);
        EXPECT_LE(current, max);
        return ++calls < 2;
    }), 0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(out.count(), 0u);
    int last = -1;
    EXPECT_EQ(CBassDrumSynth::render(p, out, [&](int current, int) { last = current; return true; }), 1);
    EXPECT_EQ(last, total);
}

TEST(BassDrumPreview, FrameCentreLineAndWaveform)
{
    const QRgb grey = qRgb(96, 96, 96), black = qRgb(0, 0, 0), centre = qRgb(128, 128, 128),
               green = qRgb(0, 255, 128);
    CSampleBuffer empty;
    const QImage blank = CBassDrumPreview::draw(empty, 200, 60);
    ASSERT_EQ(blank.size(), QSize(200, 60));
    EXPECT_EQ(blank.pixel(0, 0), grey);
    EXPECT_EQ(blank.pixel(199, 59), grey);
    EXPECT_EQ(blank.pixel(100, 59), grey);
    EXPECT_EQ(blank.pixel(1, 1), black);
    EXPECT_EQ(blank.pixel(198, 58), black);
    EXPECT_EQ(blank.pixel(50, 30), centre);
    EXPECT_EQ(blank.pixel(50, 29), black);

    // Four samples at 0.5: a level line at y = trunc(0.5 * 50) = 25 up to
    // x = 750, then down to the centre line at x = 1000.
    CSampleBuffer level;
    level.resize(4, true);
    for (std::uint32_t i = 0; i < 4; ++i)
        level.set(i, 0.5);
    const QImage picture = CBassDrumPreview::draw(level, 1000, 100);
    EXPECT_EQ(picture.pixel(300, 25), green);
    EXPECT_EQ(picture.pixel(749, 25), green);
    EXPECT_EQ(picture.pixel(300, 26), black);
    EXPECT_EQ(picture.pixel(875, 37), green); // halfway down the last segment
    EXPECT_EQ(picture.pixel(875, 25), black);
    EXPECT_EQ(picture.pixel(500, 50), centre);

    // Sizes beyond reason are bounded instead of allocated.
    EXPECT_EQ(CBassDrumPreview::draw(level, -5, 1 << 30).size(), QSize(1, CBassDrumPreview::kMaxSide));
}

TEST(BassDrumWavInfo, DateTexts)
{
    const QDateTime noon(QDate(2024, 1, 1), QTime(12, 0));
    EXPECT_DOUBLE_EQ(CBassDrumWavInfo::dayCount(noon), 45292.5);
    EXPECT_DOUBLE_EQ(CBassDrumWavInfo::dayCount(QDateTime(QDate(1899, 12, 31), QTime(6, 0))), 1.25);
    EXPECT_EQ(CBassDrumWavInfo::dateText(QDate(2024, 1, 1)), "Monday, 01 January 2024");
    const CWavInfoTexts texts = CBassDrumWavInfo::texts(noon);
    EXPECT_EQ(texts.software, "Marvoline Wavewright");
    EXPECT_EQ(texts.creationDate, "Monday, 01 January 2024");
    EXPECT_EQ(texts.fact, "45292.5");
    EXPECT_FALSE(texts.copyright.empty());
    EXPECT_FALSE(texts.engineer.empty());
}

TEST(BassDrumEngine, RendersOnEveryChangeAndSaves)
{
    TempFolder folder;
    CBassDrumEngine engine;
    EXPECT_EQ(engine.sound().count(), 2203u);
    EXPECT_EQ(engine.preview().size(), QSize(1000, 100));

    CBassDrumParameters p = engine.parameters();
    p.deceleration = 0.0;
    EXPECT_EQ(engine.setParameters(p), 0);
    EXPECT_EQ(engine.sound().count(), 0u);
    EXPECT_EQ(engine.save(folder.path("none.wav")), 0);

    p.deceleration = 2.0;
    p.previewWidth = 300;
    p.sampleRate = 22050;
    p.bitsPerSample = 8;
    ASSERT_EQ(engine.setParameters(p), 1);
    EXPECT_EQ(engine.preview().width(), 300);
    const QDateTime noon(QDate(2024, 1, 1), QTime(12, 0));
    ASSERT_EQ(engine.save(folder.path("drum.wav"), noon), 1);
    const QByteArray f = readAll(folder.path("drum.wav"));
    EXPECT_EQ(qFromLittleEndian<std::uint32_t>(f.constData() + 24), 22050u);
    EXPECT_EQ(qFromLittleEndian<std::uint16_t>(f.constData() + 34), 8);
    EXPECT_TRUE(f.contains(QByteArray("ISFT") + QByteArray::fromHex("14000000") + "Marvoline Wavewright"));
    EXPECT_TRUE(f.contains(QByteArray("fact") + QByteArray::fromHex("08000000") + "45292.5" + '\0'));
    CSoundSet back;
    ASSERT_EQ(back.loadWav(folder.path("drum.wav")), 1);
    EXPECT_EQ(back.frameCount(), engine.sound().count());

    p.bitsPerSample = 12;
    engine.setParameters(p);
    EXPECT_EQ(engine.save(folder.path("bits12.wav")), 0);

    engine.factoryReset();
    EXPECT_EQ(engine.parameters().deceleration, 1.0);
    EXPECT_EQ(engine.sound().count(), 2203u);
    const std::string preview = engine.savePreviewFile();
    ASSERT_FALSE(preview.empty());
    EXPECT_TRUE(QString::fromLocal8Bit(preview.c_str()).endsWith(QLatin1String("MarvolineWavewrightPreview.wav")));
    QFile::remove(QString::fromLocal8Bit(preview.c_str()));
}

TEST(BassDrumEngine, SoxReadsTheRenderedFile)
{
    REQUIRE_SOX();
    TempFolder folder;
    CBassDrumEngine engine;
    for (int bits : {8, 16, 32, 64}) {
        CBassDrumParameters p = engine.parameters();
        p.bitsPerSample = bits;
        engine.setParameters(p);
        const std::string path = folder.path("drum" + std::to_string(bits) + ".wav");
        ASSERT_EQ(engine.save(path), 1);
        EXPECT_EQ(soxi(path, "-s"), "2203");
        EXPECT_EQ(soxi(path, "-r"), "44100");
        EXPECT_EQ(soxi(path, "-c"), "1");
        EXPECT_EQ(soxi(path, "-b"), std::to_string(bits));
    }
}
