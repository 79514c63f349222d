#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/sounds/OggFixtures.h"
#include "media/audio/CDecodedOggStreams.h"
#include "media/output/CSoundVoice.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Everything the voice produces until it stops, as interleaved stereo.
std::vector<float> playToEnd(CSoundVoice& voice, int rate, int chunk = 500)
{
    std::vector<float> all;
    std::vector<float> out(2 * static_cast<std::size_t>(chunk));
    while (voice.isPlaying() && all.size() < 20u * 48000u) {
        if (!voice.generateFloats(out.data(), chunk, rate, 0))
            break;
        all.insert(all.end(), out.begin(), out.end());
    }
    return all;
}

std::size_t lastNonZeroFrame(const std::vector<float>& stereo)
{
    std::size_t last = 0;
    for (std::size_t i = 0; i < stereo.size(); ++i)
        if (stereo[i] != 0.0f)
            last = i / 2;
    return last;
}

int risingZeroCrossings(const std::vector<float>& stereo, std::size_t frames)
{
    int n = 0;
    for (std::size_t k = 1; k < frames; ++k)
        n += stereo[2 * (k - 1)] < 0.0f && stereo[2 * k] >= 0.0f;
    return n;
}
} // namespace

TEST(OggVoice, MonoStreamPlaysOnBothSidesAtTheOutputPitch)
{
    CMVT_WavMemory item;
    ASSERT_EQ(item.setOggFile(ogg_fixtures::mono22050()), 1);
    for (int rate : {22050, 44100, 48000}) {
        CSoundVoice voice;
        voice.setOutputFormat(1323, 16, 2, rate);
        voice.setItem(&item);
        ASSERT_EQ(voice.start(), 1);
        ASSERT_TRUE(voice.hasDecoder());
        const std::vector<float> out = playToEnd(voice, rate);
        EXPECT_FALSE(voice.isPlaying()) << "an Ogg voice stops at the end of its stream";
        bool same = true;
        for (std::size_t k = 0; k < out.size() / 2; ++k)
            same = same && out[2 * k] == out[2 * k + 1];
        EXPECT_TRUE(same) << rate;
        // 0.1 s of sound lasts 0.1 s whatever the output rate...
        const double seconds = double(lastNonZeroFrame(out) + 1) / rate;
        EXPECT_NEAR(seconds, 0.1, 0.002) << rate;
        // ...and the 440 Hz tone keeps its pitch (rising zero crossings over the middle 80 ms).
        const std::size_t from = static_cast<std::size_t>(rate / 100), to = static_cast<std::size_t>(rate * 9 / 100);
        std::vector<float> middle(out.begin() + static_cast<std::ptrdiff_t>(2 * from), out.begin() + static_cast<std::ptrdiff_t>(2 * to));
        EXPECT_NEAR(risingZeroCrossings(middle, to - from), 440 * 0.08, 2.0) << rate;
    }
}

TEST(OggVoice, LoopStartsTheStreamAgainAndBrokenStreamsDoNotStart)
{
    CMVT_WavMemory item;
    ASSERT_EQ(item.setOggFile(ogg_fixtures::stereo44100()), 1);
    CSoundVoice voice;
    voice.setOutputFormat(1323, 16, 2, 44100);
    voice.setItem(&item);
    voice.setLoop(true);
    ASSERT_EQ(voice.start(), 1);
    std::vector<float> out(2 * 44100);
    ASSERT_EQ(voice.generateFloats(out.data(), 44100, 44100, 0), 1);
    EXPECT_TRUE(voice.isPlaying()) << "one second of a 0.1 s loop";
    EXPECT_NE(out[2 * 40000], 0.0f);

    // Header pages alone (the third page is the first with audio): the
    // stream information reads but there is no frame to play.
    const QByteArray file = ogg_fixtures::stereo44100();
    const qsizetype audioPage = file.indexOf("OggS", file.indexOf("OggS", 1) + 1);
    ASSERT_GT(audioPage, 0);
    CMVT_WavMemory headersOnly;
    ASSERT_EQ(headersOnly.setOggFile(file.left(audioPage)), 1);
    CSoundVoice broken;
    broken.setItem(&headersOnly);
    EXPECT_EQ(broken.start(), 0);
    EXPECT_FALSE(broken.isPlaying());
    EXPECT_EQ(broken.generateFloats(out.data(), 10, 44100, 0), 0);
}

TEST(OggVoice, MatchesOggdecSampleForSample)
{
    if (QStandardPaths::findExecutable("oggdec").isEmpty())
        GTEST_SKIP() << "oggdec is not installed";
    TempFolder folder;
    writeAll(folder.path("s.ogg"), ogg_fixtures::stereo44100());
    ASSERT_EQ(QProcess::execute("oggdec", {"-Q", "-R", "-b", "16", "-e", "0", "-s", "1", "-o",
                                           QString::fromStdString(folder.path("s.raw")),
                                           QString::fromStdString(folder.path("s.ogg"))}), 0);
    const QByteArray raw = readAll(folder.path("s.raw"));
    ASSERT_EQ(raw.size(), 4410 * 4);

    CMVT_WavMemory item;
    ASSERT_EQ(item.setOggFile(ogg_fixtures::stereo44100()), 1);
    CSoundVoice voice;
    voice.setOutputFormat(1323, 16, 2, 44100);
    voice.setItem(&item);
    ASSERT_EQ(voice.start(), 1);
    const std::vector<float> out = playToEnd(voice, 44100, 1323);
    ASSERT_GE(out.size(), 4410u * 2);
    double worst = 0.0;
    for (std::size_t i = 0; i < 4410u * 2; ++i) {
        std::int16_t ref;
        std::memcpy(&ref, raw.constData() + 2 * i, 2);
        worst = std::max(worst, std::abs(double(out[i]) * 32768.0 - ref));
    }
    EXPECT_LE(worst, 1.0) << "the same stream, the same samples (oggdec rounds to 16 bits)";
    for (std::size_t i = 4410u * 2; i < out.size(); ++i)
        ASSERT_EQ(out[i], 0.0f) << "silence after the end";
}

// Decoded whole before the voice starts, while it plays (the voice goes over
// at the frame it has reached) or never (no room for it), a stream gives the
// samples its decoder gives as the voice plays, over its loops too.
TEST(OggVoice, AStreamDecodedWholePlaysTheDecodersSamples)
{
    enum When { Before, WhilePlaying, NoRoom };
    const struct {
        QByteArray file;
        int rate;
        bool loop;
        When when;
    } cases[] = {
        {ogg_fixtures::stereo44100(), 44100, false, Before},
        {ogg_fixtures::stereo44100(), 48000, true, WhilePlaying},
        {ogg_fixtures::mono22050(), 44100, false, WhilePlaying},
        {ogg_fixtures::mono22050(), 22050, true, NoRoom},
    };
    constexpr int kChunk = 500;
    for (const auto& c : cases) {
        CMVT_WavMemory item;
        ASSERT_EQ(item.setOggFile(c.file), 1);
        const QByteArray bytes = item.voiceSound().data;
        auto play = [&](CDecodedOggStreams* streams, int decodeAtChunk) {
            CSoundVoice voice;
            voice.setDecodedStreams(streams);
            voice.setOutputFormat(kChunk, 16, 2, c.rate);
            voice.setItem(&item);
            voice.setLoop(c.loop);
            EXPECT_EQ(voice.start(), 1);
            std::vector<float> all, out(2 * kChunk);
            // 0.25 s: a 0.1 s stream's end, and two loops.
            for (int chunk = 0; chunk * kChunk < c.rate / 4 && voice.isPlaying(); ++chunk) {
                if (chunk == decodeAtChunk)
                    streams->decodeNow(bytes);
                voice.generateFloats(out.data(), kChunk, c.rate, 0);
                all.insert(all.end(), out.begin(), out.end());
            }
            return all;
        };
        const std::vector<float> decoding = play(nullptr, -1);
        CDecodedOggStreams streams(c.when == NoRoom ? 1024 : CDecodedOggStreams::kDefaultLimitBytes);
        if (c.when == Before) {
            ASSERT_TRUE(streams.decodeNow(bytes));
        }
        const std::vector<float> whole = play(&streams, c.when == WhilePlaying ? 3 : -1);
        EXPECT_EQ(whole, decoding) << c.rate << " " << c.when;
        streams.waitIdle();
        EXPECT_EQ(streams.bytesHeld() > 0, c.when != NoRoom) << c.when;
    }
}

TEST(OggVoice, DecodedStreamsLetTheLeastRecentlyAskedForGo)
{
    const QByteArray first = ogg_fixtures::stereo44100(), second = ogg_fixtures::mono22050();
    const auto one = CDecodedOggStreams::decode(first, CDecodedOggStreams::kDefaultLimitBytes);
    const auto other = CDecodedOggStreams::decode(second, CDecodedOggStreams::kDefaultLimitBytes);
    ASSERT_TRUE(one && other);
    // Room for the larger alone.
    CDecodedOggStreams streams(std::max(one->bytes(), other->bytes()));
    ASSERT_TRUE(streams.decodeNow(first));
    ASSERT_TRUE(streams.decodeNow(second));
    EXPECT_EQ(streams.bytesHeld(), other->bytes());
    EXPECT_EQ(streams.decodeNow(second)->frames, other->frames) << "the same frames as a decoding of its own";
}
