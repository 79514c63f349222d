#include "tools/analysis/CPeriodTracker.h"

#include "media/audio/CSampleBuffer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
struct Candidate {
    double lag = 0.0; // 0: unvoiced
    double cost = 0.0;
};

double sampleAt(const CSampleBuffer& x, std::int64_t i)
{
    return i >= 0 && i < static_cast<std::int64_t>(x.count()) ? x.get(i) : 0.0;
}

// The dip's lag refined between its neighbours, so that neighbouring columns
// compare by more than whole samples.
double refined(const std::vector<double>& d, std::size_t t)
{
    if (t == 0 || t + 1 >= d.size())
        return static_cast<double>(t);
    const double a = d[t - 1], b = d[t], c = d[t + 1];
    const double bend = a - 2.0 * b + c;
    if (!(bend > 0.0))
        return static_cast<double>(t);
    return static_cast<double>(t) + std::clamp(0.5 * (a - c) / bend, -0.5, 0.5);
}

std::vector<Candidate> candidatesOf(const std::vector<double>& d, std::int64_t minLag, bool silent,
                                    const CPeriodTracker::Settings& s)
{
    std::vector<Candidate> out;
    out.push_back({0.0, silent ? 0.0 : s.unvoiced});
    if (silent)
        return out;
    bool firstSeen = false;
    const auto first = static_cast<std::size_t>(std::max<std::int64_t>(minLag, 2));
    for (std::size_t t = first; t + 1 < d.size(); ++t) {
        if (!(d[t] <= d[t - 1] && d[t] < d[t + 1]) || d[t] >= s.unvoiced)
            continue;
        double cost = d[t];
        if (firstSeen)
            cost += s.notFirstDip;
        else if (d[t] < s.threshold)
            firstSeen = true;
        out.push_back({refined(d, t), cost});
    }
    return out;
}

double transition(const Candidate& a, const Candidate& b, const CPeriodTracker::Settings& s)
{
    if ((a.lag == 0.0) != (b.lag == 0.0))
        return s.voicing;
    if (a.lag == 0.0)
        return 0.0;
    return s.octaveJump * std::abs(std::log2(b.lag / a.lag));
}
} // namespace

std::vector<double> CPeriodTracker::normalisedDifference(const CSampleBuffer& samples, std::int64_t start,
                                                         std::int64_t maxLag, std::int64_t window)
{
    std::vector<double> d(static_cast<std::size_t>(maxLag + 1), 1.0);
    double running = 0.0;
    for (std::int64_t t = 1; t <= maxLag; ++t) {
        double sum = 0.0;
        for (std::int64_t j = 0; j < window; ++j) {
            const double diff = sampleAt(samples, start + j) - sampleAt(samples, start + j + t);
            sum += diff * diff;
        }
        running += sum;
        d[static_cast<std::size_t>(t)] = running > 0.0 ? sum * static_cast<double>(t) / running : 1.0;
    }
    return d;
}

std::vector<double> CPeriodTracker::track(const CSampleBuffer& samples, std::int64_t step, std::int64_t columns,
                                          std::int64_t minLag, std::int64_t maxLag, std::int64_t window,
                                          const CAnalysisHooks& hooks, const Settings& s)
{
    if (columns < 1 || maxLag < 2 || window < 1 || step < 1)
        return std::vector<double>(static_cast<std::size_t>(std::max<std::int64_t>(columns, 0)), 0.0);
    const auto n = static_cast<std::size_t>(columns);

    // Loudness first: quiet columns are judged against the loudest one.
    std::vector<double> loudness(n);
    for (std::size_t c = 0; c < n; ++c) {
        double sum = 0.0;
        const auto start = static_cast<std::int64_t>(c) * step;
        for (std::int64_t j = 0; j < window; ++j)
            sum += sampleAt(samples, start + j) * sampleAt(samples, start + j);
        loudness[c] = std::sqrt(sum / static_cast<double>(window));
    }
    const double loudest = *std::max_element(loudness.begin(), loudness.end());

    // The cheapest path through every column's candidates.
    std::vector<std::vector<Candidate>> candidates(n);
    std::vector<std::vector<double>> total(n);
    std::vector<std::vector<std::size_t>> from(n);
    for (std::size_t c = 0; c < n; ++c) {
        if (!hooks.report(static_cast<double>(c), static_cast<double>(n)))
            return {};
        const bool silent = !(loudness[c] > s.silence * loudest);
        const std::vector<double> d =
            silent ? std::vector<double>{} : normalisedDifference(samples, static_cast<std::int64_t>(c) * step, maxLag, window);
        candidates[c] = candidatesOf(d, minLag, silent, s);
        total[c].assign(candidates[c].size(), 0.0);
        from[c].assign(candidates[c].size(), 0);
        for (std::size_t k = 0; k < candidates[c].size(); ++k) {
            double best = c == 0 ? 0.0 : std::numeric_limits<double>::infinity();
            if (c > 0)
                for (std::size_t p = 0; p < candidates[c - 1].size(); ++p) {
                    const double v = total[c - 1][p] + transition(candidates[c - 1][p], candidates[c][k], s);
                    if (v < best) {
                        best = v;
                        from[c][k] = p;
                    }
                }
            total[c][k] = best + candidates[c][k].cost;
        }
    }
    hooks.report(static_cast<double>(n), static_cast<double>(n));
    std::vector<double> lags(n, 0.0);
    std::size_t k = static_cast<std::size_t>(
        std::min_element(total[n - 1].begin(), total[n - 1].end()) - total[n - 1].begin());
    for (std::size_t c = n; c-- > 0;) {
        lags[c] = candidates[c][k].lag;
        k = from[c][k];
    }
    return lags;
}
