#include "core/CArchiveException.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CItemKinds.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/sounds/OggFixtures.h"
#include "media/audio/COggVorbisDecoder.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include "support/ItemBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
QByteArray f32(float v)
{
    QByteArray b(4, '\0');
    std::memcpy(b.data(), &v, 4);
    return b;
}

// A RIFF WAVE file; `extra` chunks go between "fmt " and "data", as recorders write them.
QByteArray wavFile(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                   const QByteArray& data, const QByteArray& extra = {})
{
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    QByteArray fmt = le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
    QByteArray body = "WAVE" + QByteArray("fmt ") + le32(16) + fmt + extra + "data" + le32(std::uint32_t(data.size())) + data;
    if (data.size() & 1)
        body.append('\0');
    return "RIFF" + le32(std::uint32_t(body.size())) + body;
}

bool haveProgram(const char* name) { return !QStandardPaths::findExecutable(name).isEmpty(); }
} // namespace

TEST(WavMemory, SpecificationsTexts)
{
    CMVT_WavMemory item;
    EXPECT_EQ(item.specsText(), "WAV, Empty !");
    EXPECT_EQ(item.bits(), 32);
    EXPECT_EQ(item.channels(), 2);
    EXPECT_EQ(item.sampleRate(), 44100);
    ASSERT_EQ(item.setSamples(16, 2, 22050, QByteArray(4000, '\0')), 1);
    EXPECT_EQ(item.frames(), 1000);
    EXPECT_EQ(item.specsText(), "WAV, 1000 Data, 4000 Bytes (16 Bits, 2 Channels, 22050 Hz)");

    // Sizes that are not whole frames, or formats that cannot be stored, are refused.
    EXPECT_EQ(item.setSamples(16, 2, 22050, QByteArray(4001, '\0')), 0);
    EXPECT_EQ(item.setSamples(24, 2, 22050, QByteArray(6, '\0')), 0);
    EXPECT_EQ(item.setSamples(16, 0, 22050, QByteArray(4, '\0')), 0);
    EXPECT_EQ(item.frames(), 1000);

    ASSERT_EQ(item.setOggFile(ogg_fixtures::stereo44100()), 1);
    EXPECT_EQ(item.specsText(),
              "OGG, " + std::to_string(ogg_fixtures::stereo44100().size()) + " Bytes (2 Channels, 44100 Hz)");
    EXPECT_TRUE(item.samples().isEmpty()) << "an Ogg item holds no uncompressed data";
    EXPECT_EQ(item.setOggFile(QByteArray("OggS not really")), 0);
    EXPECT_TRUE(item.isOgg());
}

TEST(WavMemory, UncompressedSectionRecordIsExact)
{
    CMVT_WavMemory item;
    item.setId("beep");
    ASSERT_EQ(item.setSamples(16, 2, 22050, pcm16({1, -1, 32767, -32767})), 1);
    const QByteArray expected = recordHeader("beep") + le32(0) + le32(1) + le32(0) + le32(2) + le32(16) + le32(2)
                                + le32(22050) + le32(8) + pcm16({1, -1, 32767, -32767});
    EXPECT_EQ(storeItem(item), expected);

    CMVT_WavMemory back;
    EXPECT_EQ(loadItem(back, expected), 0);
    EXPECT_EQ(back.id(), "beep");
    EXPECT_FALSE(back.isOgg());
    EXPECT_EQ(back.frames(), 2);
    EXPECT_EQ(back.bits(), 16);
    EXPECT_EQ(back.sampleRate(), 22050);
    EXPECT_EQ(back.samples(), pcm16({1, -1, 32767, -32767}));
    EXPECT_DOUBLE_EQ(back.sampleAt(1, 0), 1.0);
    EXPECT_DOUBLE_EQ(back.sampleAt(1, 1), -1.0);
    EXPECT_DOUBLE_EQ(back.sampleAt(2, 0), 0.0) << "beyond the data";

    // No data: the four integers and nothing after them, frames written as 0.
    CMVT_WavMemory empty;
    EXPECT_EQ(storeItem(empty), recordHeader("") + le32(0) + le32(1) + le32(0) + le32(0) + le32(32) + le32(2) + le32(44100));
}

TEST(WavMemory, OggSectionRecordIsExactAndReparsed)
{
    CMVT_WavMemory item;
    const QByteArray ogg = ogg_fixtures::mono22050();
    ASSERT_EQ(item.setOggFile(ogg), 1);
    const QByteArray expected = recordHeader("") + le32(0) + le32(1) + le32(1) + le32(std::uint32_t(ogg.size())) + ogg;
    EXPECT_EQ(storeItem(item), expected);

    CMVT_WavMemory back;
    EXPECT_EQ(loadItem(back, expected), 0);
    EXPECT_TRUE(back.isOgg());
    EXPECT_EQ(back.oggFile(), ogg);
    EXPECT_EQ(back.oggInfo().channels, 1);
    EXPECT_EQ(back.oggInfo().rate, 22050);
    EXPECT_EQ(back.oggInfo().version, 0);

    // An Ogg item without bytes: the length 0 and nothing else.
    CMVT_WavMemory emptyOgg;
    EXPECT_EQ(loadItem(emptyOgg, recordHeader("") + le32(0) + le32(1) + le32(1) + le32(0)), 0);
    EXPECT_TRUE(emptyOgg.isOgg());
    EXPECT_EQ(emptyOgg.specsText(), "OGG, Empty !");
    EXPECT_EQ(storeItem(emptyOgg), recordHeader("") + le32(0) + le32(1) + le32(1) + le32(0));
}

TEST(WavMemory, StoredByteCountNeverReachesPastTheData)
{
    const QByteArray head = recordHeader("x") + le32(0) + le32(1) + le32(0);
    const QByteArray trailer = le32(0xABCD1234);  // whatever the file holds next must still be in reach

    // Fewer bytes than the frames claim: only the frames the bytes hold.
    {
        CMVT_WavMemory item;
        const QByteArray rec = head + le32(1000) + le32(16) + le32(2) + le32(44100) + le32(6) + QByteArray(6, 'a');
        EXPECT_EQ(loadItem(item, rec + trailer), 4);
        EXPECT_EQ(item.frames(), 1);
        EXPECT_EQ(item.samples().size(), 4);
        EXPECT_EQ(item.specsText(), "WAV, 1 Data, 4 Bytes (16 Bits, 2 Channels, 44100 Hz)");
    }
    // More bytes than the frames need: all are read (the next record follows them), the surplus dropped.
    {
        CMVT_WavMemory item;
        const QByteArray rec = head + le32(2) + le32(8) + le32(1) + le32(8000) + le32(5) + QByteArray(5, 'b');
        EXPECT_EQ(loadItem(item, rec + trailer), 4);
        EXPECT_EQ(item.frames(), 2);
        EXPECT_EQ(item.samples(), QByteArray(2, 'b'));
    }
    // Bits and channels that describe no frame: the bytes are stepped over, no data kept.
    {
        CMVT_WavMemory item;
        const QByteArray rec = head + le32(3) + le32(0) + le32(-5) + le32(8000) + le32(3) + QByteArray(3, 'c');
        EXPECT_EQ(loadItem(item, rec + trailer), 4);
        EXPECT_EQ(item.frames(), 0);
        EXPECT_FALSE(item.hasData());
        QByteArray written = storeItem(item);
        EXPECT_EQ(written.right(16), le32(0) + le32(0) + le32(-5) + le32(8000)) << "written back without a byte count";
    }
    // A count beyond the file, a negative count, an Ogg length beyond the file: a broken file, nothing allocated.
    for (const QByteArray& rec :
         {head + le32(1) + le32(16) + le32(2) + le32(44100) + le32(0x7fffffff) + QByteArray(8, 'd'),
          head + le32(1) + le32(16) + le32(2) + le32(44100) + le32(-4) + QByteArray(8, 'd'),
          recordHeader("x") + le32(0) + le32(1) + le32(1) + le32(0x40000000) + QByteArray(16, 'e')}) {
        CMVT_WavMemory item;
        EXPECT_THROW(loadItem(item, rec), CArchiveException);
        EXPECT_LE(item.samples().size(), 0);
    }
}

TEST(WavMemory, RoundTripThroughSavedDocument)
{
    TempFolder folder;
    auto holder = createDocumentHolder();
    const int a = holder->newItem(GroupSounds, "pcm");
    const int b = holder->newItem(GroupSounds, "vorbis");
    const int c = holder->newItem(GroupSounds, "nothing");
    ASSERT_GE(c, 0);
    auto* wav = dynamic_cast<CMVT_WavMemory*>(holder->get(GroupSounds, a));
    auto* ogg = dynamic_cast<CMVT_WavMemory*>(holder->get(GroupSounds, b));
    ASSERT_TRUE(wav && ogg) << "the group's items are sound items";
    QByteArray samples;
    for (int i = 0; i < 301; ++i)
        samples += f32(float(i) / 301.0f) + f32(-float(i) / 301.0f);
    ASSERT_EQ(wav->setSamples(32, 2, 48000, samples), 1);
    wav->setComments("a ramp");
    ASSERT_EQ(ogg->setOggFile(ogg_fixtures::stereo44100()), 1);

    FixedKeySource keys({0x1357, 0x2468, 0x0abc, 0x7def});
    holder->setKeySource(&keys);
    ASSERT_EQ(holder->save(folder.path("sounds.mrc")), 1);
    EXPECT_EQ(readAll(folder.path("sounds.mrc")).indexOf(ogg_fixtures::stereo44100().mid(0, 64)), -1)
        << "the section is scrambled";

    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(folder.path("sounds.mrc")), 1);
    ASSERT_EQ(loaded->count(GroupSounds), 3);
    auto* wav2 = dynamic_cast<CMVT_WavMemory*>(loaded->get(GroupSounds, 0));
    auto* ogg2 = dynamic_cast<CMVT_WavMemory*>(loaded->get(GroupSounds, 1));
    auto* none2 = dynamic_cast<CMVT_WavMemory*>(loaded->get(GroupSounds, 2));
    ASSERT_TRUE(wav2 && ogg2 && none2);
    EXPECT_EQ(wav2->id(), "pcm");
    EXPECT_EQ(wav2->comments(), "a ramp");
    EXPECT_EQ(wav2->samples(), samples);
    EXPECT_EQ(wav2->specsText(), wav->specsText());
    EXPECT_EQ(ogg2->oggFile(), ogg_fixtures::stereo44100());
    EXPECT_EQ(ogg2->specsText(), ogg->specsText());
    EXPECT_EQ(none2->specsText(), "WAV, Empty !");
}

TEST(WavMemory, LoadsWavFormsThroughTheChunkWalk)
{
    TempFolder folder;
    CMVT_WavMemory item;
    // 16-bit mono with a LIST chunk before the data, extension in mixed case.
    const QByteArray list = "LIST" + le32(6) + QByteArray("INFOab");
    writeAll(folder.path("mono.Wav"), wavFile(1, 1, 11025, 16, pcm16({100, -200, 300}), list));
    ASSERT_EQ(item.loadFromFile(folder.path("mono.Wav")), 1);
    EXPECT_EQ(item.specsText(), "WAV, 3 Data, 6 Bytes (16 Bits, 1 Channels, 11025 Hz)");
    EXPECT_EQ(item.samples(), pcm16({100, -200, 300}));

    // This system's 32-bit files hold floats on the +/-32767 scale; the item keeps them on +/-1.
    writeAll(folder.path("sys32.wav"), wavFile(1, 2, 44100, 32, f32(32767.0f) + f32(-16383.5f)));
    ASSERT_EQ(item.loadFromFile(folder.path("sys32.wav")), 1);
    EXPECT_EQ(item.samples(), f32(32767.0f * CMVT_WavMemory::kInverse32767) + f32(-16383.5f * CMVT_WavMemory::kInverse32767));
    EXPECT_NEAR(item.sampleAt(0, 0), 1.0, 1e-6);

    // Float files of other programs (tag 3) are already on +/-1; 64-bit ones become 32-bit floats.
    writeAll(folder.path("f32.wav"), wavFile(3, 1, 8000, 32, f32(0.25f) + f32(-0.5f)));
    ASSERT_EQ(item.loadFromFile(folder.path("f32.wav")), 1);
    EXPECT_EQ(item.samples(), f32(0.25f) + f32(-0.5f));
    QByteArray d64(16, '\0');
    const double values[2] = {0.75, -0.125};
    std::memcpy(d64.data(), values, 16);
    writeAll(folder.path("f64.wav"), wavFile(3, 2, 8000, 64, d64));
    ASSERT_EQ(item.loadFromFile(folder.path("f64.wav")), 1);
    EXPECT_EQ(item.bits(), 32);
    EXPECT_EQ(item.samples(), f32(0.75f) + f32(-0.125f));

    // 8-bit bytes are kept as stored.
    writeAll(folder.path("u8.wav"), wavFile(1, 1, 8000, 8, QByteArray::fromHex("807f00ff")));
    ASSERT_EQ(item.loadFromFile(folder.path("u8.wav")), 1);
    EXPECT_EQ(item.samples(), QByteArray::fromHex("807f00ff"));
    EXPECT_DOUBLE_EQ(item.sampleAt(1, 0), 0.0);
    EXPECT_DOUBLE_EQ(item.sampleAt(0, 0), -1.0 / 127);

    // Not RIFF, truncated data, unknown encodings: the load fails and the item is left empty.
    writeAll(folder.path("text.wav"), QByteArray("this is not a sound file at all, not at all"));
    QByteArray truncated = wavFile(1, 2, 44100, 16, pcm16({1, 2, 3, 4}));
    truncated.chop(4);
    writeAll(folder.path("cut.wav"), truncated);
    writeAll(folder.path("adpcm.wav"), wavFile(2, 1, 8000, 16, pcm16({1, 2})));
    for (const char* name : {"text.wav", "cut.wav", "adpcm.wav", "missing.wav"}) {
        ASSERT_EQ(item.setSamples(16, 1, 8000, pcm16({5})), 1);
        EXPECT_EQ(item.loadFromFile(folder.path(name)), 0) << name;
        EXPECT_FALSE(item.hasData()) << name;
        EXPECT_EQ(item.frames(), 0) << name;
    }
}

TEST(WavMemory, LoadsRawFloatAndOggFiles)
{
    TempFolder folder;
    CMVT_WavMemory item;
    QByteArray raw;
    for (int i = 0; i < 2000; ++i)
        raw += f32(float(i % 7) * 0.125f - 0.25f);
    ASSERT_EQ(raw.size(), 8000);
    writeAll(folder.path("take.pcm"), raw + QByteArray(3, 'z'));  // a partial frame at the end is not a frame
    ASSERT_EQ(item.setSamples(8, 1, 11025, QByteArray(1, '\x80')), 1);
    ASSERT_EQ(item.loadFromFile(folder.path("take.pcm")), 1);
    EXPECT_EQ(item.frames(), 1000);
    EXPECT_EQ(item.specsText(), "WAV, 1000 Data, 8000 Bytes (32 Bits, 2 Channels, 44100 Hz)");
    for (int i : {0, 1, 5, 1999})
        EXPECT_FLOAT_EQ(static_cast<float>(item.sampleAt(i / 2, i % 2)), 2.0f * (float(i % 7) * 0.125f - 0.25f)) << i;

    writeAll(folder.path("drum.OGG"), ogg_fixtures::mono22050());
    ASSERT_EQ(item.loadFromFile(folder.path("drum.OGG")), 1);
    EXPECT_TRUE(item.isOgg());
    EXPECT_EQ(item.oggInfo().channels, 1);
    EXPECT_EQ(item.oggInfo().rate, 22050);
    EXPECT_GT(item.oggInfo().bitrateNominal, 0);
    EXPECT_EQ(item.oggSummaryText(), "\n\nVersion: 0\nNb Channels: 1\nRate: 22050\nBitrate Nominal: "
                                         + std::to_string(item.oggInfo().bitrateNominal));
    EXPECT_EQ(CMVT_WavMemory::idFromPath(folder.path("drum.OGG")), "drum");
    EXPECT_EQ(CMVT_WavMemory::idFromPath("C:\\sounds\\kick.v2.wav"), "kick.v2");

    CMVT_WavMemory fresh;
    fresh.setId("New ID");
    ASSERT_EQ(fresh.reloadFromFile(folder.path("drum.OGG")), 1);
    EXPECT_EQ(fresh.id(), "drum");
    fresh.setId("kick");
    ASSERT_EQ(fresh.reloadFromFile(folder.path("drum.OGG")), 1);
    EXPECT_EQ(fresh.id(), "kick");

    writeAll(folder.path("empty.ogg"), QByteArray());
    writeAll(folder.path("junk.ogg"), ogg_fixtures::mono22050().left(60));
    for (const char* name : {"empty.ogg", "junk.ogg"}) {
        EXPECT_EQ(item.loadFromFile(folder.path(name)), 0) << name;
        EXPECT_FALSE(item.isOgg()) << name;
        EXPECT_FALSE(item.hasData()) << name;
    }
}

TEST(WavMemory, FilesMadeBySoxAndOggencLoadWithTheirFormat)
{
    if (!haveProgram("sox") || !haveProgram("oggenc"))
        GTEST_SKIP() << "sox and oggenc are not installed";
    TempFolder folder;
    struct Case { int rate; int channels; };
    for (const Case c : {Case{8000, 1}, Case{32000, 2}, Case{48000, 1}, Case{96000, 2}}) {
        const QString wav = QString::fromStdString(folder.path("in.wav"));
        const QString ogg = QString::fromStdString(folder.path("out.ogg"));
        ASSERT_EQ(QProcess::execute("sox", {"-n", "-b", "16", "-r", QString::number(c.rate), "-c", QString::number(c.channels), wav,
                                            "synth", "0.3", "sine", "300"}), 0);
        ASSERT_EQ(QProcess::execute("oggenc", {"-Q", "-q", "1", "-o", ogg, wav}), 0);
        CMVT_WavMemory item;
        ASSERT_EQ(item.loadFromFile(wav.toStdString()), 1) << c.rate;
        EXPECT_EQ(item.frames(), c.rate * 3 / 10);
        EXPECT_EQ(item.channels(), c.channels);
        EXPECT_EQ(item.sampleRate(), c.rate);
        ASSERT_EQ(item.loadFromFile(ogg.toStdString()), 1) << c.rate;
        EXPECT_EQ(item.oggInfo().channels, c.channels);
        EXPECT_EQ(item.oggInfo().rate, c.rate);
        EXPECT_EQ(item.oggFile(), readAll(ogg.toStdString()));
    }
}

TEST(OggVorbisDecoder, DeliversEveryFrameAsLeftRight)
{
    COggVorbisDecoder mono;
    ASSERT_EQ(mono.open(ogg_fixtures::mono22050(), 64), 1);
    std::vector<float> out(2 * 1000);
    int total = 0;
    bool same = true;
    for (;;) {
        const int n = mono.decode(out.data(), 1000);
        for (int i = 0; i < n; ++i)
            same = same && out[2 * i] == out[2 * i + 1];
        total += n;
        if (n < 1000)
            break;
    }
    EXPECT_EQ(total, 2205);
    EXPECT_TRUE(same) << "a mono stream gives its channel to both sides";
    EXPECT_EQ(mono.decode(out.data(), 10), 0);

    COggVorbisDecoder stereo;
    ASSERT_EQ(stereo.open(ogg_fixtures::stereo44100(), 4096), 1);
    std::vector<float> all(2 * 5000);
    EXPECT_EQ(stereo.decode(all.data(), 5000), 4410);
    // 440 Hz on the left and 660 Hz on the right: the two sides differ.
    double diff = 0.0;
    for (int i = 0; i < 4410; ++i)
        diff += std::abs(all[2 * i] - all[2 * i + 1]);
    EXPECT_GT(diff, 100.0);
}

TEST(WavMemory, WaveformDrawsBothChannelsInTheirOrder)
{
    const QColor centre(0, 0, 255), first(255, 0, 0), second(0, 255, 0), background(255, 255, 255);
    const CMVT_WavMemory::WaveColors colors{centre, first, second};
    CMVT_WavMemory item;
    // Four frames: left +0.5, right -0.5; frame 3 both 0.5 (the channels overlap there).
    ASSERT_EQ(item.setSamples(16, 2, 44100, pcm16({16384, -16384, 16384, -16384, 16384, -16384, 16384, 16384})), 1);
    auto render = [&](bool swap) {
        QImage image(4, 20, QImage::Format_ARGB32);
        image.fill(background);
        QPainter painter(&image);
        item.drawWaveform(painter, QRect(0, 0, 4, 20), swap, colors);
        painter.end();
        return image;
    };
    for (bool swap : {false, true}) {
        const QImage image = render(swap);
        // Positive values lie below the centre line (y 10): 10 + trunc(0.50002 * 10) = 15.
        EXPECT_EQ(image.pixelColor(0, 15), first) << swap;
        EXPECT_EQ(image.pixelColor(0, 5), second) << swap;
        EXPECT_EQ(image.pixelColor(0, 10), centre) << swap;
        EXPECT_EQ(image.pixelColor(0, 0), background) << swap;
        EXPECT_EQ(image.pixelColor(0, 19), background) << swap;
    }
    EXPECT_EQ(render(false).pixelColor(3, 15), second) << "the second channel is in front";
    EXPECT_EQ(render(true).pixelColor(3, 15), first) << "swapped, the first channel is in front";

    // A column scans the frames after the previous column's up to its own:
    // column 1 of 2 covers frames 1..6, where frame 3 is full scale negative.
    CMVT_WavMemory mono;
    ASSERT_EQ(mono.setSamples(8, 1, 8000, QByteArray::fromHex("7f7f7fff7f7f7f007f7f7f7f")), 1);
    QImage image(2, 21, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    mono.drawWaveform(painter, QRect(0, 0, 2, 21), false, colors);
    painter.end();
    EXPECT_EQ(image.pixelColor(1, 0), second) << "the bar reaches the top, and stays inside the cell";
    EXPECT_EQ(image.pixelColor(0, 0), background) << "column 0 is frame 0 alone";
    EXPECT_EQ(image.pixelColor(1, 15), background) << "frame 7 (+1) is beyond the last column's range";
}

TEST(WavMemory, OggStreamsDrawTheirWaveformAndTheMarkOnlyWhenTheyDoNotDecode)
{
    auto render = [](const CMVT_WavMemory& item) {
        QImage image(200, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        item.draw(painter, image.rect(), false, {Qt::cyan, Qt::red, Qt::green}, Qt::black);
        return image;
    };
    // Dark pixels are the mark's letters.
    auto darkPixels = [](const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 64;
        return dark;
    };
    // The same stream decoded into a 16-bit WAV sound draws the picture the
    // Ogg stream must give, wave for wave.
    auto pictureDecodedAsWav = [&render](const QByteArray& file) {
        COggVorbisDecoder decoder;
        EXPECT_EQ(decoder.open(file, 1 << 16), 1);
        QByteArray pcm;
        std::vector<float> chunk(2 * 4096);
        for (int got = decoder.decode(chunk.data(), 4096); got > 0; got = decoder.decode(chunk.data(), 4096))
            for (int i = 0; i < 2 * got; ++i) {
                const auto v = static_cast<std::int16_t>(std::lround(std::clamp(chunk[std::size_t(i)], -1.0f, 1.0f) * 32767));
                pcm.append(reinterpret_cast<const char*>(&v), 2);
            }
        CMVT_WavMemory wav;
        EXPECT_EQ(wav.setSamples(16, 2, 44100, pcm), 1);
        return render(wav);
    };
    const QByteArray stereo = ogg_fixtures::stereo44100();
    // The shortest start of the stream whose headers read: no audio page
    // follows them.
    QByteArray headersOnly;
    for (qsizetype n = 256; n <= stereo.size() && headersOnly.isEmpty(); n += 256)
        if (CMVT_WavMemory().setOggFile(stereo.left(n)))
            headersOnly = stereo.left(n);
    ASSERT_FALSE(headersOnly.isEmpty());
    const struct {
        const char* name;
        QByteArray file;
        bool waveform;
    } cases[] = {
        {"stereo", stereo, true},
        {"mono", ogg_fixtures::mono22050(), true},
        {"headers without audio", headersOnly, false},
    };
    for (const auto& c : cases) {
        CMVT_WavMemory item;
        ASSERT_EQ(item.setOggFile(c.file), 1) << c.name;
        const QImage picture = render(item);
        int coloured = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                coloured += picture.pixelColor(x, y) == Qt::red || picture.pixelColor(x, y) == Qt::green;
        if (c.waveform) {
            const QImage expected = pictureDecodedAsWav(c.file);
            int differ = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    differ += picture.pixel(x, y) != expected.pixel(x, y);
            // A column of the WAV picture looks at one frame in a hundred of
            // its range: a pixel or so of a few columns may differ.
            EXPECT_LT(differ, picture.width() * 3) << c.name << ": the waveform of the decoded sound";
            EXPECT_GT(coloured, picture.width() * 10) << c.name;
            EXPECT_EQ(darkPixels(picture), 0) << c.name << ": no mark over the waveform";
        } else {
            EXPECT_LT(coloured, 20) << c.name << ": no waveform (the text may share a colour)";
            EXPECT_GT(darkPixels(picture), 200) << c.name << ": the large OGG letters cover a good part of the cell";
        }
    }
}

TEST(OggVorbisDecoder, DamagedStreamsDecodeWithoutHarm)
{
    // Bytes flipped all over the audio pages, and the file cut at every
    // few hundred bytes: decoding ends, whatever it delivers.
    const QByteArray good = ogg_fixtures::stereo44100();
    std::vector<float> out(2 * 8192);
    for (int seed = 1; seed <= 40; ++seed) {
        QByteArray bad = good;
        for (qsizetype i = 3932 + seed; i < bad.size(); i += 37 + seed)
            bad[i] = static_cast<char>(bad[i] ^ (seed * 29));
        if (seed % 4 == 0)
            bad.truncate(good.size() - seed * 20);
        COggVorbisDecoder decoder;
        if (!decoder.open(bad, 4096))
            continue;
        int total = 0;
        for (int n = 0; (n = decoder.decode(out.data(), 8192)) > 0;)
            total += n;
        EXPECT_LE(total, 8192) << seed;
    }
}
