// The mixer's cost per second of sound. Each benchmark fills 30 ms device
// buffers (1323 frames of 16-bit stereo at 44100 Hz) and reports
// "of_real_time": processor time spent per second of sound produced (0.01 is
// 1 % of one core). A plain loop adding 32 ready float buffers and
// converting the sum, the least any 32-voice mix must do, runs in the same
// run as the reference: "vs_reference" is the mixer's time over its time.
// The Ogg voice is compared with one uncompressed voice of the same format:
// once its file is decoded whole (what every play after the worker's decoding
// costs each buffer, with that decoding's own cost beside it), and decoding
// as it plays.

#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/audio/CDecodedOggStreams.h"
#include "media/output/CSoundMixer.h"

#include <QProcess>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

namespace {
constexpr int kRate = 44100;
constexpr int kFrames = kRate * 30 / 1000;
constexpr int kVoices = 32;
constexpr double kBufferSeconds = double(kFrames) / kRate;

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// 10 s of 16-bit stereo noise at `rate`.
std::unique_ptr<CMVT_WavMemory> noiseItem(int rate, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> dist(-20000, 20000);
    QByteArray bytes(static_cast<qsizetype>(rate) * 10 * 4, '\0');
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto v = static_cast<std::int16_t>(dist(gen));
        std::memcpy(bytes.data() + i, &v, 2);
    }
    auto item = std::make_unique<CMVT_WavMemory>();
    item->setSamples(16, 2, rate, bytes);
    return item;
}

// The least a 32-voice mix does per buffer: 32 scaled additions and the conversion.
double referenceBufferSeconds()
{
    std::vector<std::vector<float>> inputs(kVoices, std::vector<float>(2 * kFrames));
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
    for (auto& in : inputs)
        for (float& v : in)
            v = dist(gen);
    std::vector<float> mix(2 * kFrames);
    std::vector<unsigned char> bytes(4 * kFrames);
    constexpr int kRounds = 200;
    double best = 1e300;
    for (int r = 0; r < 5; ++r) {
        const double start = threadSeconds();
        for (int round = 0; round < kRounds; ++round) {
            std::fill(mix.begin(), mix.end(), 0.0f);
            for (const auto& in : inputs)
                for (std::size_t i = 0; i < mix.size(); ++i)
                    mix[i] += 0.6f * in[i];
            CSoundMixer::convertToDevice(mix.data(), mix.size(), 16, bytes.data(), bytes.size());
            benchmark::DoNotOptimize(bytes.data());
        }
        best = std::min(best, (threadSeconds() - start) / kRounds);
    }
    return best;
}

// Processor seconds per buffer of the mixer over `rounds` buffers, the best of five.
double mixerBufferSeconds(CSoundMixer& mixer, int rounds)
{
    std::vector<unsigned char> bytes(4 * kFrames);
    double best = 1e300;
    for (int r = 0; r < 5; ++r) {
        const double start = threadSeconds();
        for (int round = 0; round < rounds; ++round) {
            mixer.fillBuffer(bytes.data(), bytes.size(), kFrames, 0);
            benchmark::DoNotOptimize(bytes.data());
        }
        best = std::min(best, (threadSeconds() - start) / rounds);
    }
    return best;
}

// The mixer's figures: `reference` is the time per buffer of the work it is compared with.
void report(benchmark::State& state, double seconds, std::int64_t buffers, const char* versus, double reference)
{
    const double perBuffer = seconds / static_cast<double>(buffers);
    state.counters["of_real_time"] = perBuffer / kBufferSeconds;
    state.counters[versus] = perBuffer / reference;
}

// 32 looping voices: half the items at 22050 Hz, half at 44100 Hz.
void BM_Mix32Uncompressed(benchmark::State& state)
{
    std::vector<std::unique_ptr<CMVT_WavMemory>> items;
    CSoundMixer mixer;
    mixer.setVoices(kVoices, 0.6f, 1.0f);
    mixer.prepare(4 * kFrames, kFrames, 16, 2, kRate, 0);
    for (int v = 0; v < kVoices; ++v) {
        items.push_back(noiseItem(v % 2 ? 22050 : 44100, static_cast<unsigned>(v)));
        mixer.voice(v).setItem(items.back().get());
        mixer.voice(v).setLoop(true);
        mixer.voice(v).start();
    }
    std::vector<unsigned char> bytes(2 * 4 * kFrames);
    std::int64_t buffers = 0;
    const double start = threadSeconds();
    for (auto _ : state) {
        mixer.fillBuffer(bytes.data(), bytes.size(), kFrames, buffers * kFrames);
        benchmark::DoNotOptimize(bytes.data());
        ++buffers;
    }
    const double elapsed = threadSeconds() - start;
    report(state, elapsed, buffers, "vs_reference", referenceBufferSeconds());
}
BENCHMARK(BM_Mix32Uncompressed)->Unit(benchmark::kMicrosecond);

// 10 s of a stereo chord encoded by oggenc, when the program is there.
QByteArray encodedOgg()
{
    if (QStandardPaths::findExecutable("oggenc").isEmpty())
        return {};
    QByteArray raw;
    for (int k = 0; k < kRate * 10; ++k) {
        const double t = double(k) / kRate;
        const std::int16_t frame[2] = {static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 330 * t)),
                                       static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 495 * t))};
        raw.append(reinterpret_cast<const char*>(frame), sizeof frame);
    }
    QProcess oggenc;
    oggenc.start("oggenc", {"-Q", "-r", "-B", "16", "-C", "2", "-R", "44100", "-q", "4", "-o", "-", "-"});
    if (!oggenc.waitForStarted())
        return {};
    oggenc.write(raw);
    oggenc.closeWriteChannel();
    QByteArray ogg;
    while (oggenc.waitForReadyRead(10000) || oggenc.bytesAvailable() > 0)
        ogg += oggenc.readAllStandardOutput();
    oggenc.waitForFinished();
    ogg += oggenc.readAllStandardOutput();
    return ogg;
}

// One Ogg voice (44100 Hz stereo, looping) against one uncompressed voice of
// the same format measured in the same run. `streams` holds the file decoded
// whole, as the voices find it once the worker has decoded it; without it the
// voice decodes as it plays, as on a file's first play until then.
void mixOneOggVoice(benchmark::State& state, CDecodedOggStreams* streams)
{
    CMVT_WavMemory item;
    if (!item.setOggFile(encodedOgg())) {
        state.SkipWithError("oggenc is needed to make the stream");
        return;
    }
    const QByteArray file = item.voiceSound().data;
    if (streams) {
        // Decoding once, apart: what the worker pays, per second of sound.
        const double start = threadSeconds();
        const auto decoded = streams->decodeNow(file);
        const double seconds = threadSeconds() - start;
        if (!decoded) {
            state.SkipWithError("the stream did not decode");
            return;
        }
        state.counters["decode_once_of_real_time"] =
            seconds / (static_cast<double>(decoded->frameCount()) / decoded->rate);
    }
    CSoundMixer mixer;
    mixer.setVoices(1, 0.6f, 1.0f);
    mixer.prepare(4 * kFrames, kFrames, 16, 2, kRate, 0);
    mixer.voice(0).setDecodedStreams(streams);
    mixer.voice(0).setItem(&item);
    mixer.voice(0).setLoop(true);
    mixer.voice(0).start();
    std::vector<unsigned char> bytes(2 * 4 * kFrames);
    std::int64_t buffers = 0;
    const double start = threadSeconds();
    for (auto _ : state) {
        mixer.fillBuffer(bytes.data(), bytes.size(), kFrames, buffers * kFrames);
        benchmark::DoNotOptimize(bytes.data());
        ++buffers;
    }
    const double elapsed = threadSeconds() - start;
    // Against one uncompressed voice of the same format, measured now.
    const auto plain = noiseItem(kRate, 99);
    CSoundMixer reference;
    reference.setVoices(1, 0.6f, 1.0f);
    reference.prepare(4 * kFrames, kFrames, 16, 2, kRate, 0);
    reference.voice(0).setItem(plain.get());
    reference.voice(0).setLoop(true);
    reference.voice(0).start();
    report(state, elapsed, buffers, "vs_uncompressed_voice", mixerBufferSeconds(reference, 200));
}

// What filling each buffer pays for an Ogg voice whose file is
// decoded whole: the decoding itself is "decode_once_of_real_time".
void BM_MixOneOggVoice(benchmark::State& state)
{
    CDecodedOggStreams streams;
    mixOneOggVoice(state, &streams);
}
BENCHMARK(BM_MixOneOggVoice)->Unit(benchmark::kMicrosecond);

// The same voice decoding as it plays, in the buffers it fills.
void BM_MixOneOggVoiceDecodingAsItPlays(benchmark::State& state)
{
    mixOneOggVoice(state, nullptr);
}
BENCHMARK(BM_MixOneOggVoiceDecodingAsItPlays)->Unit(benchmark::kMicrosecond);
} // namespace
