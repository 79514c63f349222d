#include "tools/analysis/CAnalyzeFundamentalEngine.h"
#include "tools/analysis/CPeriodTracker.h"
#include "media/audio/CSoundSet.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <numbers>
#include <random>

namespace {
constexpr double kRate = 22050.0;

// The pitch of a test signal over time: a frequency in Hz, 0 for silence,
// -1 for noise with no pitch.
using Pitch = std::function<double(double t)>;

struct Signal {
    const char* name;
    double seconds;
    Pitch pitch;
    double noise;   // white noise level added throughout (0.3 is about 10 dB below the tone)
    bool formants;  // harmonics shaped by the resonances of an open vowel, as a voice
};

// Harmonics at 1/h, or shaped by three formants; the phase follows the
// pitch so that glides and vibrato are continuous.
CSampleBuffer synthesise(const Signal& s)
{
    CSampleBuffer out;
    const auto n = static_cast<std::uint32_t>(s.seconds * kRate);
    out.resize(n);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    double phase = 0.0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const double f = s.pitch(i / kRate);
        double v = 0.0;
        if (f > 0.0) {
            phase += 2.0 * std::numbers::pi * f / kRate;
            for (int h = 1; h * f < kRate / 2 && h <= 30; ++h) {
                double a = 1.0 / h;
                if (s.formants) {
                    a = 0.0;
                    for (const auto& [centre, width] : {std::pair{700.0, 110.0}, {1220.0, 120.0}, {2600.0, 160.0}})
                        a += 1.0 / (1.0 + std::pow((h * f - centre) / width, 2.0));
                    a *= 0.6;
                }
                v += a * std::sin(h * phase);
            }
            v *= 0.4;
        } else if (f < 0.0) {
            v = 0.5 * white(random);
        }
        out.set(i, v + s.noise * 0.4 * white(random));
    }
    return out;
}

double steps(double t, std::initializer_list<double> notes, double each)
{
    const auto k = std::min(static_cast<std::size_t>(t / each), notes.size() - 1);
    return *(notes.begin() + k);
}

const std::vector<Signal>& testSignals()
{
    static const std::vector<Signal> list = {
        {"vibrato", 2.0, [](double t) { return 220.0 * std::exp2(std::sin(2 * std::numbers::pi * 5.5 * t) / 12.0); },
         0.0, false},
        {"glide", 2.0, [](double t) { return 150.0 * std::exp2(t * std::log2(3.0) / 2.0); }, 0.0, false},
        {"octave leaps", 2.0, [](double t) { return steps(t, {200.0, 400.0, 200.0, 100.0}, 0.5); }, 0.0, false},
        {"noisy", 2.0, [](double t) { return steps(t, {300.0, 250.0}, 1.0); }, 0.3, false},
        {"voice", 2.4,
         [](double t) {
             if (t >= 0.9 && t < 1.2)
                 return 0.0; // a pause
             if (t >= 1.2 && t < 1.5)
                 return -1.0; // a breath
             const double glide = t < 0.9 ? 140.0 + 60.0 * t : 200.0 - 40.0 * (t - 1.5);
             return glide * std::exp2(0.3 * std::sin(2 * std::numbers::pi * 5.0 * t) / 12.0);
         },
         0.05, true},
    };
    return list;
}

struct Score {
    double voicedRight = 0; // share of voiced entries within 50 cents
    double unvoicedOff = 1; // share of silent or noisy entries given period 0
};

// Entries whose window (three periods from its start) sees one steady pitch.
Score score(const Signal& s, const std::vector<double>& periods, double rate)
{
    std::size_t voiced = 0, right = 0, unvoiced = 0, off = 0;
    for (std::size_t m = 0; m < periods.size(); ++m) {
        const double t = static_cast<double>(m) / rate;
        const double f = s.pitch(t);
        const double end = f > 0.0 ? s.pitch(t + 3.0 / f) : s.pitch(t + 0.03);
        if ((f > 0.0) != (end > 0.0) || (f > 0.0 && std::fabs(std::log2(end / f)) > 1.0 / 24.0))
            continue;
        if (f > 0.0) {
            ++voiced;
            const double found = periods[m] > 0.0 ? rate / periods[m] : 0.0;
            right += found > 0.0 && std::fabs(1200.0 * std::log2(found / s.pitch(t + 1.5 / f))) <= 50.0;
        } else {
            ++unvoiced;
            off += periods[m] == 0.0;
        }
    }
    Score out;
    out.voicedRight = voiced ? static_cast<double>(right) / voiced : 1.0;
    out.unvoicedOff = unvoiced ? static_cast<double>(off) / unvoiced : 1.0;
    return out;
}

// For the comparison with other pitch trackers (scripts/pitch-comparison.py):
// the signal as a WAV file and its pitch every millisecond.
void writeForComparison(const Signal& s, const CSampleBuffer& samples, const std::string& folder)
{
    CSoundSet sound;
    sound.setSampleRate(kRate);
    sound.addChannel().copyFrom(samples);
    std::string name = s.name;
    for (char& c : name)
        c = c == ' ' ? '-' : c;
    sound.writeWav(folder + "/" + name + ".wav", 0, samples.count(), 16, static_cast<std::uint32_t>(kRate), 0, 1, {});
    std::ofstream truth(folder + "/" + name + ".truth");
    for (int ms = 0; ms < static_cast<int>(s.seconds * 1000); ++ms)
        truth << ms / 1000.0 << " " << s.pitch(ms / 1000.0) << "\n";
}

enum class Bounds { Estimated, OptimisedPreview };

Score analyse(const Signal& s, Bounds bounds, const TempFolder& folder)
{
    CAnalyzeFundamentalEngine engine;
    engine.setSource(synthesise(s), kRate);
    engine.settings().analysisRate = 11025;
    engine.settings().outputPath = folder.path("out.awa");
    EXPECT_TRUE(engine.preview({}));
    if (bounds == Bounds::Estimated)
        EXPECT_TRUE(engine.estimateBounds());
    else
        EXPECT_TRUE(engine.optimiseMargins());
    EXPECT_TRUE(engine.analyse({}));
    return score(s, engine.periods(), 11025.0);
}
} // namespace

TEST(PeriodTracker, FirstDipIsThePeriodAndSilenceIsUnvoiced)
{
    // 6000 Hz, a 150 Hz tone with strong harmonics: 40 samples a period. The
    // difference dips at 40, 80 and 120; the tracker keeps the first.
    CSampleBuffer tone;
    tone.resize(6000);
    for (std::uint32_t i = 0; i < 3000; ++i)
        tone.set(i, std::sin(2 * std::numbers::pi * i / 40.0) + 0.8 * std::sin(4 * std::numbers::pi * i / 40.0));
    const std::vector<double> d = CPeriodTracker::normalisedDifference(tone, 0, 200, 250);
    EXPECT_LT(d[40], 0.05);
    EXPECT_LT(d[80], 0.05);
    const std::vector<double> lags = CPeriodTracker::track(tone, 100, 60, 2, 200, 251);
    ASSERT_EQ(lags.size(), 60u);
    EXPECT_NEAR(lags[5], 40.0, 0.5);
    EXPECT_NEAR(lags[20], 40.0, 0.5);
    EXPECT_EQ(lags[40], 0.0) << "the second half is silent";
    CAnalysisHooks stop;
    stop.progress = [](double, double) { return false; };
    EXPECT_TRUE(CPeriodTracker::track(tone, 100, 60, 2, 200, 251, stop).empty());
}

TEST(PeriodTracker, EstimatedBoundsKeepTheAnalysisWithinFiftyCents)
{
    TempFolder folder;
    const char* comparison = std::getenv("QUILLOP_PITCH_WAVS");
    for (const Signal& s : testSignals()) {
        if (comparison)
            writeForComparison(s, synthesise(s), comparison);
        const Score estimated = analyse(s, Bounds::Estimated, folder);
        const Score preview = analyse(s, Bounds::OptimisedPreview, folder);
        std::printf("%-14s estimated bounds: %5.1f %% voiced right, %5.1f %% unvoiced off;"
                    " optimised preview: %5.1f %% voiced right\n",
                    s.name, 100 * estimated.voicedRight, 100 * estimated.unvoicedOff, 100 * preview.voicedRight);
        EXPECT_GE(estimated.voicedRight, 0.95) << s.name;
        EXPECT_GE(estimated.unvoicedOff, 0.8) << s.name;
    }
}
