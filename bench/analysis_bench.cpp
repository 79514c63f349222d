// The analysis proper on a voice-like recording (a vibrato tone with
// harmonics and a little noise) at the default settings, with the bounds the
// preview and its margin optimisation give. Each run times, on the same
// samples and bounds, the plain search (one lag at a time, the sample
// buffer's own mean absolute difference) and the production search, and
// reports reference / production as "ratio", with the number of samples
// whose periods differ ("differences"; the two sum in the same order, so it
// should be 0) and how many of those were near-ties.

#include "media/audio/CSampleBuffer.h"
#include "tools/analysis/CAnalyzeFundamentalEngine.h"
#include "tools/analysis/CFundamentalAnalysis.h"
#include "tools/analysis/CLagDifferences.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {
constexpr double kRate = 44100.0;

CSampleBuffer voice(double seconds)
{
    CSampleBuffer b;
    const auto n = static_cast<std::uint32_t>(seconds * kRate);
    b.resize(n);
    double phase = 0.0;
    unsigned noise = 1;
    for (std::uint32_t i = 0; i < n; ++i) {
        const double t = i / kRate;
        const double f = 180.0 * std::pow(2.0, (std::floor(t * 2.0) * 2.0) / 12.0) * (1.0 + 0.01 * std::sin(t * 30.0));
        double v = 0.0;
        for (int h = 1; h <= 6; ++h)
            v += std::sin(phase * h) * 0.4 / h;
        noise = noise * 1664525u + 1013904223u;
        v += (static_cast<double>(noise >> 8) / (1u << 24) - 0.5) * 0.01;
        b.set(i, v);
        phase += 2.0 * std::numbers::pi * f / kRate;
    }
    return b;
}

struct Prepared {
    CSampleBuffer samples; // at the analysis rate (the recording's own)
    CSampleBuffer lower;
    CSampleBuffer upper;
    CFundamentalAnalysis::Settings settings;
};

Prepared prepare(double seconds)
{
    CAnalyzeFundamentalEngine engine;
    engine.setSource(voice(seconds), kRate);
    engine.preview({});
    engine.optimiseMargins();
    Prepared p;
    p.samples.copyFrom(*engine.source().channel(0));
    p.lower.copyFrom(engine.view().lower());
    p.upper.copyFrom(engine.view().upper());
    p.settings.analysisRate = kRate;
    p.settings.preRate = static_cast<double>(engine.settings().preRate);
    p.settings.rowOffset = static_cast<double>(engine.view().minimumLag());
    return p;
}

struct Plain {
    std::vector<double> periods;
    std::size_t nearTies = 0; // samples whose two best lags differ by < 1e-9 relative
};

Plain plainSearch(const Prepared& p, const CFundamentalAnalysis& analysis)
{
    const CSampleBuffer& x = p.samples;
    Plain out;
    out.periods.resize(x.count());
    const double width = static_cast<double>(std::max(p.lower.count(), p.upper.count())) / x.count();
    double position = 0.0;
    for (std::uint32_t m = 0; m < x.count(); ++m, position += width) {
        const auto b = analysis.boundsAt(p.lower, p.upper, position, width);
        double best = std::numeric_limits<double>::max();
        double second = best;
        std::int64_t period = b.lo;
        for (std::int64_t i = b.lo; i <= b.hi; ++i) {
            const double d = x.meanAbsoluteDifference(m, static_cast<std::uint32_t>(m + i),
                                                      static_cast<std::uint32_t>(3 * b.hi - i));
            if (d < best) {
                second = best;
                best = d;
                period = i;
            } else if (d < second) {
                second = d;
            }
        }
        out.nearTies += second - best < 1e-9 * best;
        out.periods[m] = static_cast<double>(period);
    }
    return out;
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_AnalysisAgainstPlainSearch(benchmark::State& state)
{
    Prepared p = prepare(static_cast<double>(state.range(0)));
    p.settings.threads = static_cast<int>(state.range(1)); // 0: every processor
    const CFundamentalAnalysis analysis(p.settings);
    double referenceTime = 0.0;
    double productionTime = 0.0;
    std::size_t differences = 0;
    std::size_t nearTies = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        const Plain reference = plainSearch(p, analysis);
        auto t1 = std::chrono::steady_clock::now();
        std::vector<double> periods;
        analysis.searchPeriods(p.samples, p.lower, p.upper, periods, {});
        auto t2 = std::chrono::steady_clock::now();
        referenceTime += seconds(t1 - t0);
        productionTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
        differences = 0;
        for (std::size_t m = 0; m < periods.size(); ++m)
            differences += periods[m] != reference.periods[m];
        nearTies = reference.nearTies;
        benchmark::DoNotOptimize(periods.data());
    }
    state.counters["reference_s"] = referenceTime / static_cast<double>(state.iterations());
    state.counters["production_s"] = productionTime / static_cast<double>(state.iterations());
    state.counters["ratio"] = referenceTime / productionTime;
    state.counters["differences"] = static_cast<double>(differences);
    state.counters["near_ties"] = static_cast<double>(nearTies);
    state.counters["samples"] = static_cast<double>(p.samples.count());
}
} // namespace

// Arguments: seconds of sound, threads of the production search.
BENCHMARK(BM_AnalysisAgainstPlainSearch)
    ->Args({2, 1})
    ->Args({2, 0})
    ->Args({5, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
