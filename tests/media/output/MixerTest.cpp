#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/sounds/OggFixtures.h"
#include "media/output/CAudioOutput.h"
#include "media/output/CAudioPlayer.h"
#include "media/output/CSoundMixer.h"
#include "media/output/FakeAudioBackend.h"
#include "support/ItemBytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
std::int16_t sample16(const std::vector<unsigned char>& bytes, std::size_t i)
{
    std::int16_t v;
    std::memcpy(&v, bytes.data() + 2 * i, 2);
    return v;
}

// A mixer with `voices` voices, prepared for 16-bit stereo at `rate`.
void prepareMixer(CSoundMixer& mixer, int voices, int frames, int rate, float gain = 1.0f)
{
    mixer.setVoices(voices, gain, 1.0f);
    ASSERT_EQ(mixer.prepare(std::size_t(frames) * 4, frames, 16, 2, rate, 0), 1);
}
} // namespace

TEST(AudioOutput, BufferSizesFollowTheSettings)
{
    CAudioOutput output(std::make_unique<FakeAudioBackend>());
    output.configure(-1, 4, 30, 16, 44100, 2);
    EXPECT_EQ(output.framesPerBuffer(), 1323);
    EXPECT_EQ(output.bytesPerBuffer(), 5292u);
    output.configure(3, 2, 30, 8, 22050, 1);
    EXPECT_EQ(output.framesPerBuffer(), 661);
    EXPECT_EQ(output.bytesPerBuffer(), 661u);
}

TEST(SoundVoice, UncompressedItemsStepByRateRatio)
{
    CMVT_WavMemory item;
    ASSERT_EQ(item.setSamples(16, 1, 22050, pcm16({32767, 16384, -32767})), 1);
    CSoundVoice voice;
    voice.setOutputFormat(8, 16, 2, 44100);
    voice.setItem(&item);
    ASSERT_EQ(voice.start(), 1);
    float out[16];
    std::fill(std::begin(out), std::end(out), 9.0f);
    ASSERT_EQ(voice.generateFloats(out, 8, 44100, 0), 1);
    const float a = 32767 * 0.00003051851f, b = 16384 * 0.00003051851f, c = -32767 * 0.00003051851f;
    // Every frame twice, the mono value on both sides; then zeros and the voice stops.
    const float expected[16] = {a, a, a, a, b, b, b, b, c, c, c, c, 0, 0, 0, 0};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(out[i], expected[i]) << i;
    EXPECT_FALSE(voice.isPlaying());
    EXPECT_EQ(voice.generateFloats(out, 8, 44100, 0), 0) << "a stopped voice produces nothing";

    // Looping: position 3 wraps to 0 and that frame is produced from the start;
    // an item faster than the output skips frames (truncated position 0, 1.5 -> 1, 3 -> wrap).
    CMVT_WavMemory stereo;
    ASSERT_EQ(stereo.setSamples(8, 2, 66150, QByteArray::fromHex("7f00ff7f007f")), 1);  // (0,+1) (-1.008,0) (+1,0)
    voice.setItem(&stereo);
    voice.setLoop(true);
    ASSERT_EQ(voice.start(), 1);
    float loop[8];
    ASSERT_EQ(voice.generateFloats(loop, 4, 44100, 0), 1);
    const float one = 127 * 0.007874016f, minus = -128 * 0.007874016f;
    EXPECT_FLOAT_EQ(loop[0], 0.0f);
    EXPECT_FLOAT_EQ(loop[1], one);
    EXPECT_FLOAT_EQ(loop[2], minus);
    EXPECT_FLOAT_EQ(loop[3], 0.0f);
    EXPECT_FLOAT_EQ(loop[4], 0.0f) << "wrapped to frame 0";
    EXPECT_FLOAT_EQ(loop[5], one);
    EXPECT_FLOAT_EQ(loop[6], minus) << "then frame 1 again";
    EXPECT_TRUE(voice.isPlaying());
}

TEST(SoundMixer, GainsClampingAndDeviceFormats)
{
    CMVT_WavMemory full;
    ASSERT_EQ(full.setSamples(16, 2, 44100, pcm16({32767, -32767, 32767, -32767, 0, 0})), 1);
    CSoundMixer mixer;
    prepareMixer(mixer, 4, 4, 44100, 0.6f);
    std::vector<unsigned char> bytes(16);
    // Nothing playing: silence.
    ASSERT_EQ(mixer.fillBuffer(bytes.data(), bytes.size(), 4, 0), 1);
    EXPECT_EQ(bytes, std::vector<unsigned char>(16, 0));

    for (int v : {0, 2}) {
        mixer.voice(v).setItem(&full);
        ASSERT_EQ(mixer.voice(v).start(), 1);
    }
    ASSERT_EQ(mixer.fillBuffer(bytes.data(), bytes.size(), 4, 0), 1);
    // 2 x 0.6 = 1.2, clamped to full scale.
    EXPECT_EQ(sample16(bytes, 0), 32767);
    EXPECT_EQ(sample16(bytes, 1), -32767);
    EXPECT_EQ(sample16(bytes, 2), 32767);
    EXPECT_EQ(sample16(bytes, 4), 0);
    EXPECT_EQ(sample16(bytes, 6), 0) << "both items ended";

    // One voice at 0.6 with master gain 0.5: trunc(0.3 * 32767) = 9830.
    mixer.setMasterGain(0.5f);
    mixer.voice(0).setItem(&full);
    ASSERT_EQ(mixer.voice(0).start(), 1);
    ASSERT_EQ(mixer.fillBuffer(bytes.data(), bytes.size(), 4, 0), 1);
    EXPECT_EQ(sample16(bytes, 0), static_cast<int>(32767 * 0.00003051851f * 0.6f * 0.5f * 32767.0f));
    EXPECT_EQ(sample16(bytes, 1), -sample16(bytes, 0));

    // 8 bits: trunc(v x 127) - 128 as an unsigned byte; silence is 0x80.
    const float values[5] = {0.0f, 1.0f, -1.0f, 2.5f, std::nanf("")};
    unsigned char eight[5];
    ASSERT_EQ(CSoundMixer::convertToDevice(values, 5, 8, eight, 5), 1);
    EXPECT_EQ(eight[0], 0x80);
    EXPECT_EQ(eight[1], 0xFF);
    EXPECT_EQ(eight[2], 0x01);
    EXPECT_EQ(eight[3], 0xFF);
    EXPECT_EQ(eight[4], 0x80) << "a NaN is silence";
    EXPECT_EQ(CSoundMixer::convertToDevice(values, 5, 24, eight, 100), 0);
    EXPECT_EQ(CSoundMixer::convertToDevice(values, 5, 16, eight, 5), 0) << "the block is too small";
    CSoundMixer eightBit;
    eightBit.setVoices(2, 0.6f, 1.0f);
    ASSERT_EQ(eightBit.prepare(8, 4, 8, 2, 22050, 0), 1);
    std::vector<unsigned char> quiet(8, 0);
    ASSERT_EQ(eightBit.fillBuffer(quiet.data(), quiet.size(), 4, 0), 1);
    EXPECT_EQ(quiet, std::vector<unsigned char>(8, 0x80));
    EXPECT_EQ(eightBit.prepare(8, 4, 32, 2, 22050, 0), 0);

    EXPECT_EQ(CSoundMixer::voiceRate(44100, 0.5f), 22050);
    EXPECT_EQ(CSoundMixer::voiceRate(3, 0.5f), 2) << "halves round up";
}

TEST(SoundMixer, RateFactorPlaysAVoiceFaster)
{
    CMVT_WavMemory item;
    ASSERT_EQ(item.setSamples(16, 1, 44100, pcm16({100, 200, 300, 400, 500, 600})), 1);
    CSoundMixer mixer;
    prepareMixer(mixer, 1, 3, 44100);
    mixer.channel(0).rateFactor = 0.5f;  // the voice thinks the output is 22050 Hz: two item frames per output frame
    mixer.voice(0).setItem(&item);
    ASSERT_EQ(mixer.voice(0).start(), 1);
    std::vector<unsigned char> bytes(12);
    ASSERT_EQ(mixer.fillBuffer(bytes.data(), bytes.size(), 3, 0), 1);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(sample16(bytes, 2 * k), static_cast<int>(float(100 * (2 * k + 1)) * 0.00003051851f * 32767.0f)) << k;
}

TEST(AudioPlayer, VoiceChoiceStateAndStops)
{
    auto backend = std::make_unique<FakeAudioBackend>();
    FakeAudioBackend* device = backend.get();
    CAudioPlayer player(std::move(backend));
    CAudioSettings settings;
    player.initialise(settings, std::chrono::milliseconds(0));
    EXPECT_EQ(device->opens, 1) << "initialising opens the device once";
    EXPECT_FALSE(player.output().isOpen());
    EXPECT_EQ(player.mixer().voiceCount(), 32);
    EXPECT_FLOAT_EQ(player.mixer().channel(5).gain, 0.6f);

    std::vector<std::unique_ptr<CMVT_WavMemory>> items;
    for (int i = 0; i < 34; ++i) {
        items.push_back(std::make_unique<CMVT_WavMemory>());
        ASSERT_EQ(items.back()->setSamples(16, 2, 44100, QByteArray(4 * 44100, '\1')), 1);
    }
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(player.play(items[i].get(), i == 3), 1);
    EXPECT_TRUE(player.output().isOpen()) << "playing starts the device";
    EXPECT_EQ(player.rotatingCounter(), 0);
    EXPECT_EQ(player.state(items[3].get()), CAudioPlayer::LoopPlaying);
    EXPECT_EQ(player.state(items[4].get()), CAudioPlayer::Playing);

    // All 32 busy: the 33rd replaces the voice at the counter (0), the 34th voice 1.
    ASSERT_EQ(player.play(items[32].get(), false), 1);
    EXPECT_EQ(player.mixer().voice(0).item(), items[32].get());
    EXPECT_EQ(player.state(items[0].get()), CAudioPlayer::Stopped);
    EXPECT_EQ(player.rotatingCounter(), 1);
    ASSERT_EQ(player.play(items[33].get(), false), 1);
    EXPECT_EQ(player.mixer().voice(1).item(), items[33].get());

    // stop(item) frees the voice; the next sound takes the free voice first.
    player.setState(items[10].get(), CAudioPlayer::Stopped);
    EXPECT_EQ(player.state(items[10].get()), CAudioPlayer::Stopped);
    EXPECT_EQ(player.mixer().voice(10).item(), nullptr);
    player.setState(items[0].get(), CAudioPlayer::LoopPlaying);
    EXPECT_EQ(player.mixer().voice(10).item(), items[0].get());
    EXPECT_EQ(player.state(items[0].get()), CAudioPlayer::LoopPlaying);

    player.stopAll();
    EXPECT_FALSE(player.output().isOpen());
    EXPECT_EQ(player.rotatingCounter(), 0);
    for (auto& item : items)
        EXPECT_EQ(player.state(item.get()), CAudioPlayer::Stopped);

    // An item with nothing to play takes no voice.
    CMVT_WavMemory empty;
    EXPECT_EQ(player.play(&empty, false), 0);
    EXPECT_EQ(player.mixer().voice(0).item(), nullptr);

    // A voice whose sound ended is reused before a playing one is cut off.
    CMVT_WavMemory blip;
    ASSERT_EQ(blip.setSamples(16, 1, 44100, pcm16({1, 2})), 1);
    for (int i = 0; i < 31; ++i)
        ASSERT_EQ(player.play(items[i].get(), false), 1);
    ASSERT_EQ(player.play(&blip, false), 1);
    EXPECT_EQ(player.mixer().voice(31).item(), &blip);
    device->play(player.output().bytesPerBuffer());
    ASSERT_EQ(player.output().poll(), 1);
    EXPECT_EQ(player.state(&blip), CAudioPlayer::Stopped) << "two frames end within one buffer";
    ASSERT_EQ(player.play(items[33].get(), false), 1);
    EXPECT_EQ(player.mixer().voice(31).item(), items[33].get());
    EXPECT_EQ(player.state(items[1].get()), CAudioPlayer::Playing) << "no playing sound was cut off";
}

TEST(AudioPlayer, NoDeviceMeansNothingPlays)
{
    auto backend = std::make_unique<FakeAudioBackend>();
    backend->refuseOpen = true;
    CAudioPlayer player(std::move(backend));
    player.initialise(CAudioSettings(), std::chrono::milliseconds(0));
    CMVT_WavMemory item;
    ASSERT_EQ(item.setSamples(16, 2, 44100, QByteArray(400, '\1')), 1);
    EXPECT_EQ(player.play(&item, true), 0);
    EXPECT_EQ(player.state(&item), CAudioPlayer::Stopped);
    player.stop(&item);
    player.stopAll();
}

TEST(AudioOutput, BuffersAreRefilledInOrderAtTheNextPosition)
{
    auto backend = std::make_unique<FakeAudioBackend>();
    FakeAudioBackend* device = backend.get();
    CAudioOutput output(std::move(backend));
    CMVT_WavMemory ramp;
    QByteArray samples;
    for (int i = 0; i < 100; ++i)
        samples += pcm16({static_cast<std::int16_t>(i * 100)});
    ASSERT_EQ(ramp.setSamples(16, 1, 1000, samples), 1);
    CSoundMixer mixer;
    mixer.setVoices(1, 1.0f, 1.0f);
    output.setSource(&mixer);
    output.configure(7, 3, 10, 16, 1000, 2);  // 10 frames per buffer
    ASSERT_EQ(output.start(), 1);
    mixer.voice(0).setItem(&ramp);
    EXPECT_EQ(device->openDevice, 7);
    EXPECT_EQ(device->buffers.size(), 3u);
    EXPECT_FALSE(device->paused);
    EXPECT_EQ(output.position(), 30);
    ASSERT_EQ(mixer.voice(0).start(), 1);

    EXPECT_EQ(output.poll(), 0) << "nothing played yet";
    device->play(40 + 1);  // one buffer and a byte of the next
    EXPECT_EQ(output.poll(), 1);
    EXPECT_EQ(output.position(), 40);
    ASSERT_EQ(device->buffers.size(), 4u);
    // The voice started after the first three buffers: the fourth holds frames 0..9.
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(sample16(device->buffers[3], 2 * k), static_cast<int>(k * 100 * 0.00003051851f * 32767.0f)) << k;
        EXPECT_EQ(sample16(device->buffers[3], 2 * k + 1), sample16(device->buffers[3], 2 * k));
    }
    device->play(1000);
    EXPECT_EQ(output.poll(), 3) << "at most the buffers that exist";
    EXPECT_EQ(output.position(), 70);
    EXPECT_EQ(sample16(device->buffers[4], 0), static_cast<int>(float(1000) * 0.00003051851f * 32767.0f));

    // A device that refuses a buffer stops the output.
    device->refuseQueue = true;
    device->play(40);
    output.poll();
    EXPECT_FALSE(output.isOpen());
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(output.poll(), 0);
}
