#include "media/audio/CSoundSet.h"
#include "media/audio/CWavHeaderInfo.h"
#include "media/audio/CWavReader.h"

#include "media/audio/SoxTools.h"
#include "support/ItemBytes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cmath>
#include <random>

#include <sys/stat.h>

namespace {
std::uint32_t u32At(const QByteArray& b, int at) { return qFromLittleEndian<std::uint32_t>(b.constData() + at); }
std::uint16_t u16At(const QByteArray& b, int at) { return qFromLittleEndian<std::uint16_t>(b.constData() + at); }

QByteArray chunk(const char* tag, const QByteArray& body)
{
    QByteArray c = QByteArray(tag, 4) + le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() & 1)
        c.append('\0');
    return c;
}

// A canonical 16-bit file with `extra` chunks between "fmt " and "data".
QByteArray wav16(std::uint16_t channels, std::uint32_t rate, const std::vector<std::int16_t>& samples,
                 const QByteArray& extra = {})
{
    QByteArray fmt;
    fmt += QByteArray::fromHex("0100") + QByteArray(1, char(channels)) + QByteArray(1, '\0') + le32(rate)
           + le32(rate * 2u * channels) + QByteArray(1, char(2 * channels)) + QByteArray(1, '\0')
           + QByteArray::fromHex("1000");
    QByteArray data(reinterpret_cast<const char*>(samples.data()), static_cast<qsizetype>(samples.size() * 2));
    const QByteArray body = QByteArray("WAVE") + chunk("fmt ", fmt) + extra + chunk("data", data);
    return QByteArray("RIFF") + le32(static_cast<std::uint32_t>(body.size())) + body;
}

CSoundSet loaded(const std::string& path)
{
    CSoundSet set;
    EXPECT_EQ(set.loadWav(path), 1) << path;
    return set;
}

CSoundSet monoOf(std::initializer_list<double> values)
{
    CSoundSet set;
    CSampleBuffer& b = set.addChannel();
    b.resize(static_cast<std::uint32_t>(values.size()), true);
    std::uint32_t i = 0;
    for (double v : values)
        b.set(i++, v);
    return set;
}
} // namespace

TEST(WavWriter, LayoutAndInfoSubChunks)
{
    TempFolder folder;
    CSoundSet set = monoOf({0.0, 1.0, -1.0});
    CWavInfoTexts texts{"abcd", "abcde", "", "Quillop", ""};
    ASSERT_EQ(set.writeWav(folder.path("a.wav"), 0, 100, 8, 22050, 0, 1, texts), 1);
    const QByteArray f = readAll(folder.path("a.wav"));
    EXPECT_EQ(f.left(4), "RIFF");
    EXPECT_EQ(f.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32At(f, 16), 16u);
    EXPECT_EQ(u16At(f, 20), 1);      // format tag
    EXPECT_EQ(u16At(f, 22), 1);      // channels
    EXPECT_EQ(u32At(f, 24), 22050u); // rate
    EXPECT_EQ(u32At(f, 28), 22050u); // byte rate
    EXPECT_EQ(u16At(f, 32), 1);      // block
    EXPECT_EQ(u16At(f, 34), 8);
    EXPECT_EQ(f.mid(36, 4), "data");
    EXPECT_EQ(u32At(f, 40), 3u);
    // Samples 0, +1, -1 at 8 bits, then the pad byte of an odd data size.
    EXPECT_EQ(f.mid(44, 4), QByteArray::fromHex("7f 00 fe 00"));
    const QByteArray info = QByteArray("INFO") + "ICOP" + le32(4) + "abcd" + "ICRD" + le32(8) + "abcde"
                            + QByteArray(3, '\0') + "ISFT" + le32(8) + "Quillop" + QByteArray(1, '\0');
    EXPECT_EQ(f.mid(48), QByteArray("LIST") + le32(static_cast<std::uint32_t>(info.size())) + info);
    EXPECT_EQ(u32At(f, 4), static_cast<std::uint32_t>(f.size() - 8));
}

TEST(WavWriter, ClampsRangesAndRefusesWhatItCannotWrite)
{
    TempFolder folder;
    CSoundSet set = monoOf({0.1, 0.2, 0.3, 0.4});
    set.addChannel().resize(2, true);
    // Channels 0..1 of a request for 0..4; frames from 1, at most what exists.
    ASSERT_EQ(set.writeWav(folder.path("s.wav"), 1, 50, 16, 8000, 0, 5, {}), 1);
    const QByteArray f = readAll(folder.path("s.wav"));
    EXPECT_EQ(u16At(f, 22), 2);
    EXPECT_EQ(u32At(f, 40), 3u * 4u);
    EXPECT_EQ(static_cast<std::int16_t>(u16At(f, 44)), 6553); // 0.2 * 32767 rounded
    EXPECT_EQ(u16At(f, 46), 0);                                 // the short channel is silent
    EXPECT_EQ(f.mid(56, 12), QByteArray("LIST") + le32(4) + "INFO");

    EXPECT_EQ(set.writeWav(folder.path("b.wav"), 0, 4, 24, 8000, 0, 1, {}), 0);
    EXPECT_EQ(set.writeWav(folder.path("b.wav"), 4, 4, 16, 8000, 0, 1, {}), 0);
    EXPECT_EQ(set.writeWav(folder.path("b.wav"), 0, 4, 16, 8000, 2, 1, {}), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.path("b.wav"))));
}

TEST(WavWriter, EveryBitDepthReadsBackAsWritten)
{
    TempFolder folder;
    CSoundSet set = monoOf({0.5, -0.25, 1.0, -1.0, 0.0078125});
    set.addChannel().copyFrom(*set.channel(0));
    set.channel(1)->set(0, 2.5); // beyond the scale: only the float forms keep it
    for (int bits : {8, 16, 32, 64}) {
        const std::string path = folder.path("d" + std::to_string(bits) + ".wav");
        ASSERT_EQ(set.writeWav(path, 0, 5, bits, 48000, 0, 2, {}), 1);
        const CSoundSet back = loaded(path);
        ASSERT_EQ(back.channels(), 2);
        EXPECT_EQ(back.bitsPerSample(), bits);
        EXPECT_EQ(back.sampleRate(), 48000.0);
        EXPECT_EQ(back.frameCount(), 5u);
        const double tolerance = bits == 8 ? 0.5 / 127 : bits == 16 ? 0.5 / 32767 : bits == 32 ? 1e-6 : 1e-15;
        for (std::uint32_t i = 0; i < 5; ++i)
            EXPECT_NEAR(back.channel(0)->get(i), set.channel(0)->get(i), tolerance) << bits << " " << i;
        EXPECT_NEAR(back.channel(1)->get(0), bits >= 32 ? 2.5 : 1.0, tolerance) << bits;
    }
}

TEST(WavWriter, SoxReadsTheFormatAndLength)
{
    REQUIRE_SOX();
    TempFolder folder;
    CSoundSet set;
    for (int c = 0; c < 2; ++c) {
        CSampleBuffer& b = set.addChannel();
        b.resize(1001, true);
        for (std::uint32_t i = 0; i < 1001; ++i)
            b.set(i, 0.5 * std::sin(i * 0.05 + c));
    }
    for (int bits : {8, 16, 32, 64}) {
        const std::string path = folder.path("sox" + std::to_string(bits) + ".wav");
        ASSERT_EQ(set.writeWav(path, 0, 1001, bits, 44100, 0, 2, {"(c) us", "today", "me", "Quillop", "45000.5"}), 1);
        EXPECT_EQ(soxi(path, "-c"), "2");
        EXPECT_EQ(soxi(path, "-r"), "44100");
        EXPECT_EQ(soxi(path, "-s"), "1001");
        EXPECT_EQ(soxi(path, "-b"), std::to_string(bits));
    }
    // sox reads our 16-bit samples as the same integers.
    const std::vector<double> decoded = soxSamples(folder.path("sox16.wav"));
    ASSERT_EQ(decoded.size(), 2002u);
    for (std::size_t i = 0; i < 2002; i += 101)
        EXPECT_NEAR(decoded[i] * 32768.0 / 32767.0, set.channel(int(i % 2))->get(std::int64_t(i / 2)), 1.0 / 32767)
            << i;
}

TEST(WavReader, FilesMadeBySox)
{
    REQUIRE_SOX();
    TempFolder folder;
    struct Case {
        const char* name;
        QStringList format;
        int channels;
        int bits;
        double scale; // ours = sox's value * scale
        double tolerance;
    };
    const std::vector<Case> cases = {
        {"pcm16", {"-c", "2", "-b", "16"}, 2, 16, 32768.0 / 32767.0, 1e-12},
        {"float32", {"-c", "1", "-b", "32", "-e", "floating-point"}, 1, 32, 1.0, 0.0},
        {"float64", {"-c", "1", "-b", "64", "-e", "floating-point"}, 1, 64, 1.0, 0.0},
        {"extensible16", {"-c", "3", "-b", "16"}, 3, 16, 32768.0 / 32767.0, 1e-12},
        {"extensible32", {"-c", "1", "-b", "32", "-e", "signed-integer"}, 1, 32, 2147483648.0 / 2147483647.0, 1e-12},
    };
    for (const Case& c : cases) {
        const std::string path = folder.path(std::string(c.name) + ".wav");
        QStringList args{"-n", "-r", "22050"};
        args += c.format;
        args += {QString::fromStdString(path), "synth", "0.05", "sine", "440", "vol", "0.7"};
        ASSERT_TRUE(runProgram("sox", args)) << c.name;
        const CSoundSet set = loaded(path);
        ASSERT_EQ(set.channels(), c.channels) << c.name;
        EXPECT_EQ(set.bitsPerSample(), c.bits) << c.name;
        EXPECT_EQ(set.sampleRate(), 22050.0) << c.name;
        const std::vector<double> reference = soxSamples(path);
        ASSERT_EQ(reference.size(), std::size_t(set.frameCount()) * std::size_t(c.channels)) << c.name;
        double largest = 0;
        for (std::size_t i = 0; i < reference.size(); ++i) {
            const double ours = set.channel(int(i % std::size_t(c.channels)))->get(std::int64_t(i / std::size_t(c.channels)));
            EXPECT_NEAR(ours, reference[i] * c.scale, c.tolerance) << c.name << " " << i;
            largest = std::max(largest, std::fabs(ours));
        }
        EXPECT_NEAR(largest, 0.7, 0.01) << c.name; // the usual +/-1 scale, whatever the storage
    }
}

TEST(WavReader, ChunksBetweenFormatAndDataAreSkipped)
{
    TempFolder folder;
    const std::vector<std::int16_t> samples{1000, -1000, 32767, 5};
    // An odd-sized LIST (padded), a fact and a bext chunk before the samples.
    const QByteArray extra = chunk("LIST", QByteArray("INFOISFT") + le32(3) + "abc") + chunk("fact", le32(2))
                             + chunk("bext", QByteArray(602, 'x'));
    writeAll(folder.path("l.wav"), wav16(2, 8000, samples, extra));
    const CSoundSet set = loaded(folder.path("l.wav"));
    ASSERT_EQ(set.channels(), 2);
    EXPECT_EQ(set.frameCount(), 2u);
    EXPECT_DOUBLE_EQ(set.channel(0)->get(0), 1000.0 / 32767.0);
    EXPECT_EQ(set.channel(0)->get(1), 1.0);
    EXPECT_DOUBLE_EQ(set.channel(1)->get(1), 5.0 / 32767.0);
    EXPECT_EQ(CWavHeaderInfo::describe(folder.path("l.wav")),
              "16 Bits, 2 Channels, 8000 Hz, 2 Samples, Time 0:00.000");
}

TEST(WavReader, BrokenFilesAreRefusedAndLeaveTheSoundAsItWas)
{
    TempFolder folder;
    const QByteArray good = wav16(1, 8000, {1, 2, 3, 4});
    auto refuses = [&](const QByteArray& bytes, const char* why) {
        writeAll(folder.path("bad.wav"), bytes);
        CSoundSet set = monoOf({0.25});
        EXPECT_EQ(set.loadWav(folder.path("bad.wav")), 0) << why;
        ASSERT_EQ(set.channels(), 1) << why;
        EXPECT_EQ(set.channel(0)->get(0), 0.25) << why;
    };
    QByteArray longData = good;
    qToLittleEndian<std::uint32_t>(1000, longData.data() + 40);
    refuses(longData, "data size past the end");
    QByteArray hugeData = good;
    qToLittleEndian<std::uint32_t>(0xFFFFFFF0u, hugeData.data() + 40);
    refuses(hugeData, "huge data size");
    refuses(wav16(1, 8000, {1, 2}, QByteArray("JUNK") + le32(5000)), "chunk past the end");
    refuses(good.left(30), "truncated format");
    QByteArray notWave = good;
    notWave.replace(8, 4, "AVI ");
    refuses(notWave, "not WAVE");
    QByteArray bits24 = good;
    qToLittleEndian<std::uint16_t>(24, bits24.data() + 34);
    qToLittleEndian<std::uint16_t>(3, bits24.data() + 32);
    refuses(bits24, "24 bits");
    QByteArray noChannels = good;
    qToLittleEndian<std::uint16_t>(0, noChannels.data() + 22);
    refuses(noChannels, "no channels");
    QByteArray adpcm = good;
    qToLittleEndian<std::uint16_t>(2, adpcm.data() + 20);
    refuses(adpcm, "compressed");
    QByteArray wrongBlock = good;
    qToLittleEndian<std::uint16_t>(1, wrongBlock.data() + 32);
    refuses(wrongBlock, "block smaller than a frame");
    // Rates no recording has: buffers sized from the rate would grow with the claim.
    for (const std::uint32_t rate : {1u, 3u, CWavReader::kMinSampleRate - 1, CWavReader::kMaxSampleRate + 1, 0xFFFFFFFFu})
        refuses(wav16(1, rate, {1, 2, 3, 4}), "rate out of range");
    for (const std::uint32_t rate : {CWavReader::kMinSampleRate, CWavReader::kMaxSampleRate}) {
        writeAll(folder.path("edge.wav"), wav16(1, rate, {1, 2, 3, 4}));
        CSoundSet set;
        EXPECT_EQ(set.loadWav(folder.path("edge.wav")), 1) << rate;
    }
    // Only regular files: a device never ends and a FIFO waits for a writer.
    const std::string fifo = folder.path("pipe.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {folder.path("missing.wav"), std::string("/dev/zero"), fifo}) {
        CSoundSet set;
        EXPECT_EQ(set.loadWav(path), 0) << path;
        EXPECT_EQ(CWavHeaderInfo::describe(path), "Can't open filename") << path;
    }
}

TEST(WavReader, SystemFloatFilesKeepTheirScale)
{
    // Tag 1 with 64-bit samples is this system's own +/-32767 form; the
    // same bytes under tag 3 are floats on the +/-1 scale.
    TempFolder folder;
    CSoundSet set = monoOf({0.5});
    ASSERT_EQ(set.writeWav(folder.path("f.wav"), 0, 1, 64, 8000, 0, 1, {}), 1);
    QByteArray bytes = readAll(folder.path("f.wav"));
    EXPECT_EQ(loaded(folder.path("f.wav")).channel(0)->get(0), 0.5);
    qToLittleEndian<std::uint16_t>(3, bytes.data() + 20);
    writeAll(folder.path("g.wav"), bytes);
    EXPECT_EQ(loaded(folder.path("g.wav")).channel(0)->get(0), 0.5 * 32767.0);
}

TEST(WavHeaderInfo, DescribesTheFile)
{
    TempFolder folder;
    EXPECT_EQ(CWavHeaderInfo::groupThousands(90061), "90 061");
    EXPECT_EQ(CWavHeaderInfo::groupThousands(1234567), "1 234 567");
    EXPECT_EQ(CWavHeaderInfo::groupThousands(999), "999");
    EXPECT_EQ(CWavHeaderInfo::formatTime(90061, 44100), "0:02.042");
    EXPECT_EQ(CWavHeaderInfo::formatTime(44100 * 125 + 22, 44100), "2:05.000");
    EXPECT_EQ(CWavHeaderInfo::formatTime(23, 44100), "0:00.001"); // 0.52 ms rounds up
    EXPECT_EQ(CWavHeaderInfo::formatTime(10, 0), "0:00.000");

    QByteArray header = wav16(1, 44100, {});
    qToLittleEndian<std::uint32_t>(90061 * 2, header.data() + 40); // a header alone, its samples missing
    writeAll(folder.path("h.wav"), header);
    EXPECT_EQ(CWavHeaderInfo::describe(folder.path("h.wav")),
              "16 Bits, 1 Channels, 44100 Hz, 90 061 Samples, Time 0:02.042");
    writeAll(folder.path("short.wav"), header.left(43));
    EXPECT_EQ(CWavHeaderInfo::describe(folder.path("short.wav")), "Not a windows .WAV file !");
    header.replace(0, 4, "RIFX");
    writeAll(folder.path("rifx.wav"), header);
    EXPECT_EQ(CWavHeaderInfo::describe(folder.path("rifx.wav")), "Not a windows .WAV file !");
    EXPECT_EQ(CWavHeaderInfo::describe(folder.path("none.wav")), "Can't open filename");
}

TEST(WavReader, DamagedFilesNeverReadOutOfBounds)
{
    // Every truncation and random damage to the headers of a file with a
    // chunk before the samples; under the sanitizers this finds any read
    // past the file or trust in a stated size.
    TempFolder folder;
    const std::string path = folder.path("damaged.wav");
    const QByteArray good = wav16(2, 8000, {1, 2, 3, 4, 5, 6}, chunk("LIST", QByteArray("INFOabc")));
    std::mt19937 random(11);
    for (int round = 0; round < 600; ++round) {
        QByteArray bytes = round < good.size() ? good.left(round) : good;
        if (round >= good.size())
            for (int k = 0; k < 3; ++k)
                bytes[static_cast<qsizetype>(random() % 72)] = static_cast<char>(random());
        writeAll(path, bytes);
        CSoundSet set;
        if (set.loadWav(path)) {
            EXPECT_LE(std::size_t(set.frameCount()) * std::size_t(set.channels()), std::size_t(bytes.size()));
        }
        EXPECT_FALSE(CWavHeaderInfo::describe(path).empty());
    }
}
