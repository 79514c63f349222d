#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/output/CAudioPlayer.h"
#include "media/output/CMixRenderer.h"
#include "media/output/FakeAudioBackend.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

namespace {
constexpr float kGain = 0.6f;

// A rendered WAV file: its header fields and its 16-bit samples.
struct Wav {
    int format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::uint32_t riffSize = 0, dataSize = 0;
    std::vector<std::int16_t> samples;
};

Wav render(CMixRenderer& renderer, std::int64_t frames)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(renderer.writeWav(buffer, frames), 1);
    Wav w;
    if (bytes.size() < 44 || std::memcmp(bytes.constData(), "RIFF", 4) || std::memcmp(bytes.constData() + 8, "WAVEfmt ", 8)
        || std::memcmp(bytes.constData() + 36, "data", 4)) {
        ADD_FAILURE() << "not a WAV file";
        return w;
    }
    const char* p = bytes.constData();
    w.riffSize = qFromLittleEndian<std::uint32_t>(p + 4);
    w.format = qFromLittleEndian<std::uint16_t>(p + 20);
    w.channels = qFromLittleEndian<std::uint16_t>(p + 22);
    w.rate = static_cast<int>(qFromLittleEndian<std::uint32_t>(p + 24));
    w.byteRate = static_cast<int>(qFromLittleEndian<std::uint32_t>(p + 28));
    w.blockAlign = qFromLittleEndian<std::uint16_t>(p + 32);
    w.bits = qFromLittleEndian<std::uint16_t>(p + 34);
    w.dataSize = qFromLittleEndian<std::uint32_t>(p + 40);
    EXPECT_EQ(w.dataSize + 44u, static_cast<std::uint32_t>(bytes.size()));
    EXPECT_EQ(w.riffSize, w.dataSize + 36u);
    w.samples.resize(w.dataSize / 2);
    std::memcpy(w.samples.data(), p + 44, w.samples.size() * 2);
    return w;
}

// One sound as the rules read it: the value of `channel` of stored frame i.
struct Sound {
    CMVT_WavMemory item;
    std::function<float(std::int64_t, int)> value;
    double step = 0.0;     // item rate / output rate
    double position = 0.0; // in item frames
    bool ended = false;

    // The next output frame's left and right values; zeros once it has ended.
    std::pair<float, float> next(bool loop)
    {
        if (ended)
            return {0.0f, 0.0f};
        auto i = static_cast<std::int64_t>(position);
        if (i >= item.frames()) {
            if (!loop) {
                ended = true;
                return {0.0f, 0.0f};
            }
            position = 0.0;
            i = 0;
        }
        const float left = value(i, 0);
        const float right = item.channels() > 1 ? value(i, 1) : left;
        position += step;
        return {left, right};
    }
};

std::int16_t deviceSample(float v)
{
    v = std::clamp(v, -1.0f, 1.0f);
    return static_cast<std::int16_t>(static_cast<int>(v * 32767.0f));
}

QByteArray randomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    QByteArray b(static_cast<qsizetype>(n), '\0');
    for (char& c : b)
        c = static_cast<char>(gen() & 0xFF);
    return b;
}

void expectMatches(const Wav& wav, std::vector<Sound*> sounds, bool loop, std::size_t frames)
{
    ASSERT_GE(wav.samples.size(), 2 * frames);
    int mismatches = 0;
    for (std::size_t k = 0; k < frames && mismatches < 5; ++k) {
        float left = 0.0f, right = 0.0f;
        for (Sound* s : sounds) {
            const auto [l, r] = s->next(loop);
            left += kGain * l;
            right += kGain * r;
        }
        if (wav.samples[2 * k] != deviceSample(left) || wav.samples[2 * k + 1] != deviceSample(right)) {
            ++mismatches;
            ADD_FAILURE() << "frame " << k << ": " << wav.samples[2 * k] << "," << wav.samples[2 * k + 1]
                          << " instead of " << deviceSample(left) << "," << deviceSample(right);
        }
    }
}
} // namespace

// Three sounds of every stored encoding, started together and rendered
// through the player's buffer ring; each output sample is computed here from
// the mixing rules and compared exactly.
TEST(MixRenderer, RendersTheMixSampleBySample)
{
    Sound a;  // 16-bit stereo at 22050 Hz: every frame twice; ends after 6000 output frames
    ASSERT_EQ(a.item.setSamples(16, 2, 22050, randomBytes(3000 * 4, 1)), 1);
    a.value = [&a](std::int64_t i, int c) {
        std::int16_t v;
        std::memcpy(&v, a.item.samples().constData() + (i * 2 + c) * 2, 2);
        return static_cast<float>(v) * 0.00003051851f;
    };
    Sound b;  // 8-bit mono at 48000 Hz: stepped by a ratio that is not a whole fraction
    ASSERT_EQ(b.item.setSamples(8, 1, 48000, randomBytes(2000, 2)), 1);
    b.value = [&b](std::int64_t i, int) {
        const auto byte = static_cast<unsigned char>(b.item.samples()[static_cast<qsizetype>(i)]);
        return static_cast<float>(static_cast<std::int8_t>(byte ^ 0x7F)) * 0.007874016f;
    };
    Sound c;  // 32-bit floats at full scale: with the others the sum passes 1 and is clamped
    QByteArray floats;
    for (int i = 0; i < 500; ++i) {
        const float pair[2] = {1.0f, i % 2 ? -1.0f : 0.25f};
        floats.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    ASSERT_EQ(c.item.setSamples(32, 2, 44100, floats), 1);
    c.value = [&c](std::int64_t i, int ch) {
        float v;
        std::memcpy(&v, c.item.samples().constData() + (i * 2 + ch) * 4, 4);
        return v;
    };

    CAudioSettings settings;  // 4 buffers of 30 ms at 44100 Hz: 1323 frames each
    CMixRenderer renderer(settings);
    ASSERT_EQ(renderer.start({&a.item, &b.item, &c.item}, false), 3);
    // Longer than the four buffers handed over at the start, so refills count too.
    const Wav wav = render(renderer, 8820);
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.bits, 16);
    EXPECT_EQ(wav.blockAlign, 4);
    EXPECT_EQ(wav.byteRate, 44100 * 4);
    ASSERT_EQ(wav.samples.size(), 8820u * 2);
    for (Sound* s : {&a, &b, &c})
        s->step = static_cast<double>(s->item.sampleRate()) / 44100;
    expectMatches(wav, {&a, &b, &c}, false, 8820);
    // The full-scale voice with the others passes 1 on many frames: those are clamped.
    EXPECT_GT(std::count(wav.samples.begin(), wav.samples.begin() + 1000, std::int16_t(32767)), 50);

    // Until the end: whole buffers, up to the one in which the longest sound
    // (6000 frames) ended, i.e. five buffers of 1323 frames.
    CMixRenderer again(settings);
    ASSERT_EQ(again.start({&a.item, &b.item, &c.item}, false), 3);
    const Wav whole = render(again, -1);
    ASSERT_EQ(whole.samples.size(), 5u * 1323 * 2);
    EXPECT_TRUE(std::equal(whole.samples.begin(), whole.samples.end(), wav.samples.begin()));
}

TEST(MixRenderer, LoopsAndOtherRatesAndNothingLeftBehindWithoutADevice)
{
    Sound a;
    ASSERT_EQ(a.item.setSamples(16, 1, 44100, randomBytes(101 * 2, 3)), 1);
    a.value = [&a](std::int64_t i, int) {
        std::int16_t v;
        std::memcpy(&v, a.item.samples().constData() + i * 2, 2);
        return static_cast<float>(v) * 0.00003051851f;
    };
    CAudioSettings settings;
    ASSERT_EQ(settings.setRate(22050), 1);
    ASSERT_EQ(settings.setBuffers(2), 1);
    ASSERT_EQ(settings.setLengthMs(7), 1);
    CMixRenderer renderer(settings);
    ASSERT_EQ(renderer.start({&a.item}, true), 1);
    const Wav wav = render(renderer, 3000);
    EXPECT_EQ(wav.rate, 22050);
    a.step = 44100.0 / 22050;
    expectMatches(wav, {&a}, true, 3000);

    // A device that cannot be opened: nothing waits on a voice to sound at
    // the next play.
    auto backend = std::make_unique<FakeAudioBackend>();
    backend->refuseOpen = true;
    CAudioPlayer player(std::move(backend));
    player.initialise(CAudioSettings(), std::chrono::milliseconds(0));
    EXPECT_EQ(player.playTogether({&a.item}, false), 0);
    EXPECT_EQ(player.state(&a.item), CAudioPlayer::Stopped);
    EXPECT_EQ(player.mixer().voice(0).item(), nullptr);
}

// An Ogg file made by oggenc, mixed, against oggdec's decoding of the same file.
TEST(MixRenderer, OggFromOggencMatchesOggdec)
{
    if (QStandardPaths::findExecutable("oggenc").isEmpty() || QStandardPaths::findExecutable("oggdec").isEmpty())
        GTEST_SKIP() << "oggenc or oggdec is not installed";
    for (int channels : {2, 1}) {
        SCOPED_TRACE(channels);
        TempFolder folder;
        const int frames = 22050;
        QByteArray raw;
        for (int k = 0; k < frames; ++k) {
            for (int ch = 0; ch < channels; ++ch) {
                const double t = double(k) / 44100;
                const auto v = static_cast<std::int16_t>(20000 * std::sin(2 * M_PI * (ch ? 550 : 330) * t)
                                                         + 9000 * std::sin(2 * M_PI * 1210 * t));
                raw.append(reinterpret_cast<const char*>(&v), 2);
            }
        }
        writeAll(folder.path("in.raw"), raw);
        const QString ogg = QString::fromStdString(folder.path("in.ogg"));
        const QString decoded = QString::fromStdString(folder.path("out.raw"));
        ASSERT_EQ(QProcess::execute("oggenc", {"-Q", "-r", "-B", "16", "-C", QString::number(channels), "-R", "44100",
                                               "-q", "4", "-o", ogg, QString::fromStdString(folder.path("in.raw"))}),
                  0);
        ASSERT_EQ(QProcess::execute("oggdec", {"-Q", "-R", "-b", "16", "-e", "0", "-s", "1", "-o", decoded, ogg}), 0);
        const QByteArray reference = readAll(decoded.toStdString());
        ASSERT_EQ(reference.size(), frames * channels * 2);

        CMVT_WavMemory item;
        ASSERT_EQ(item.setOggFile(readAll(ogg.toStdString())), 1);
        CMixRenderer renderer{CAudioSettings()};
        ASSERT_EQ(renderer.start({&item}, false), 1);
        const Wav wav = render(renderer, frames + 2000);
        ASSERT_EQ(wav.samples.size(), std::size_t(frames + 2000) * 2);
        int worst = 0;
        for (int k = 0; k < frames; ++k) {
            for (int side = 0; side < 2; ++side) {
                std::int16_t ref;
                std::memcpy(&ref, reference.constData() + 2 * (k * channels + (channels == 2 ? side : 0)), 2);
                const int expected = deviceSample(kGain * static_cast<float>(ref) / 32768.0f);
                worst = std::max(worst, std::abs(wav.samples[2 * std::size_t(k) + std::size_t(side)] - expected));
            }
        }
        // oggdec rounds its floats to 16 bits before the gain is applied here.
        EXPECT_LE(worst, 1);
        for (std::size_t i = 2 * std::size_t(frames); i < wav.samples.size(); ++i)
            ASSERT_EQ(wav.samples[i], 0) << "silence after the end of the stream";
    }
}
