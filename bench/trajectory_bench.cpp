// Resample and Smooth on a 10 000-point path. Each benchmark also times a
// plain loop doing the bare arithmetic of the same work (the same number of
// path probes for Resample, the same window sums for Smooth) in the same run,
// and reports its own time as a ratio to it, so that results compare across
// machines.

#include "kinds/trajectories/Trajectory.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <vector>

namespace {
constexpr int kPoints = 10000;

std::vector<TrajectoryPoint> wavyPath()
{
    std::vector<TrajectoryPoint> points;
    points.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
        points.push_back({i * 1.0, 20.0 * std::sin(i * 0.05)});
    return points;
}

void fill(Trajectory& t, const std::vector<TrajectoryPoint>& points)
{
    for (const auto& p : points)
        t.AddPoint(p.x, p.y);
}

// The machine is shared: the thread's own processor time, unlike the wall
// clock, does not count the time other programs held the cores.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

template <typename Work>
double bestSeconds(Work work, int repeats = 5)
{
    double best = 1e300;
    for (int r = 0; r < repeats; ++r) {
        const double start = threadSeconds();
        work();
        best = std::min(best, threadSeconds() - start);
    }
    return best;
}

double lerp(const std::vector<TrajectoryPoint>& p, double t, double TrajectoryPoint::*axis)
{
    const auto i = static_cast<std::size_t>(t);
    if (i + 1 >= p.size())
        return p.back().*axis;
    const double f = t - static_cast<double>(i);
    return p[i].*axis * (1 - f) + f * p[i + 1].*axis;
}

// Walks the path in the probe step Resample uses, measuring each probe's
// distance from the last sample.
double referenceResample(const std::vector<TrajectoryPoint>& p, double distance)
{
    double longest = 0;
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        longest = std::max(longest, std::hypot(p[i + 1].x - p[i].x, p[i + 1].y - p[i].y));
    const double step = 0.01 * distance / longest;
    const auto end = static_cast<double>(p.size());
    double ax = p.front().x, ay = p.front().y, samples = 0;
    for (double u = 0; u < end; u += step) {
        const double x = lerp(p, u, &TrajectoryPoint::x), y = lerp(p, u, &TrajectoryPoint::y);
        if (std::hypot(x - ax, y - ay) >= distance) {
            ax = x;
            ay = y;
            ++samples;
        }
    }
    return samples;
}

// A moving average over windows of range + 1 points.
double referenceSmooth(const std::vector<TrajectoryPoint>& p, int range)
{
    std::vector<TrajectoryPoint> out(p.size());
    const int n = static_cast<int>(p.size());
    for (int i = 0; i < n; ++i) {
        const int lo = std::min(i, n - 1 - range);
        double sx = 0, sy = 0;
        for (int k = lo; k <= lo + range; ++k) {
            sx += lerp(p, k, &TrajectoryPoint::x);
            sy += lerp(p, k, &TrajectoryPoint::y);
        }
        out[static_cast<std::size_t>(i)] = {sx / (range + 1), sy / (range + 1)};
    }
    return out.back().x;
}

template <typename Operation, typename Reference>
void runAgainstReference(benchmark::State& state, Operation operation, Reference reference)
{
    const auto points = wavyPath();
    const double referenceSeconds = bestSeconds([&] { benchmark::DoNotOptimize(reference(points)); });
    // Like the reference, the best run counts.
    double best = 1e300;
    for (auto _ : state) {
        state.PauseTiming();
        Trajectory t;
        fill(t, points);
        state.ResumeTiming();
        const double start = threadSeconds();
        operation(t);
        best = std::min(best, threadSeconds() - start);
        benchmark::DoNotOptimize(t.GetPointCount());
    }
    state.counters["reference_ms"] = referenceSeconds * 1e3;
    state.counters["best_ms"] = best * 1e3;
    state.counters["ratio_to_reference"] = best / referenceSeconds;
}

void BM_Resample(benchmark::State& state)
{
    const double distance = static_cast<double>(state.range(0));
    runAgainstReference(
        state, [&](Trajectory& t) { t.Resample(distance); },
        [&](const std::vector<TrajectoryPoint>& p) { return referenceResample(p, distance); });
}

void BM_Smooth(benchmark::State& state)
{
    const int range = static_cast<int>(state.range(0));
    runAgainstReference(
        state, [&](Trajectory& t) { t.Smooth(range); },
        [&](const std::vector<TrajectoryPoint>& p) { return referenceSmooth(p, range); });
}
} // namespace

BENCHMARK(BM_Resample)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Smooth)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
