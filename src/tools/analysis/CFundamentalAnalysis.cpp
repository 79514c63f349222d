#include "tools/analysis/CFundamentalAnalysis.h"

#include "tools/analysis/CAwaFile.h"
#include "tools/analysis/CLagDifferences.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

namespace {
// Samples handed to a thread at a time: small enough for a smooth progress
// bar and a prompt stop, large enough that handing out costs nothing.
constexpr std::uint32_t kChunk = 256;
// Lags are kept where 3 x lag still fits the window arithmetic comfortably.
constexpr double kLargestLag = 1 << 28;

std::int64_t lagOf(double value)
{
    if (!(value >= 0.0))
        return 0;
    return static_cast<std::int64_t>(std::trunc(std::min(value, kLargestLag)));
}
} // namespace

std::uint64_t CFundamentalAnalysis::entryCount(std::uint32_t samples, double sourceRate, double analysisRate)
{
    if (!(sourceRate > 0.0) || !(analysisRate > 0.0) || !std::isfinite(sourceRate) || !std::isfinite(analysisRate))
        return 0;
    const double n = std::trunc(static_cast<double>(samples) * analysisRate / sourceRate);
    return n >= 1.8e19 ? std::numeric_limits<std::uint64_t>::max() : static_cast<std::uint64_t>(n);
}

CFundamentalAnalysis::Bounds CFundamentalAnalysis::boundsAt(const CSampleBuffer& lower, const CSampleBuffer& upper,
                                                            double position, double width) const
{
    const double ratio = m_settings.analysisRate / m_settings.preRate;
    // Without curves there is nothing to search between: every period is 0.
    const double offset = lower.count() > 0 ? m_settings.rowOffset : 0.0;
    const double offsetUpper = upper.count() > 0 ? m_settings.rowOffset : 0.0;
    Bounds b;
    b.lo = lagOf((lower.read(position, width) + offset) * ratio + 0.5);
    b.hi = lagOf((upper.read(position, width) + offsetUpper) * ratio + 0.5);
    return b;
}

std::int64_t CFundamentalAnalysis::bestLag(const CLagDifferences& lags, std::uint32_t start, const Bounds& bounds,
                                           std::vector<double>& scratch)
{
    if (bounds.hi < bounds.lo)
        return bounds.lo;
    scratch.resize(static_cast<std::size_t>(bounds.hi - bounds.lo + 1));
    lags.compute(start, bounds.lo, bounds.hi, 3 * bounds.hi, scratch.data());
    double best = std::numeric_limits<double>::max();
    std::int64_t period = bounds.lo;
    for (std::int64_t i = bounds.lo; i <= bounds.hi; ++i) {
        const double d = scratch[static_cast<std::size_t>(i - bounds.lo)];
        // Strictly smaller: the shortest of equally good lags is the
        // fundamental, the others its multiples. A difference that is not a
        // number (a signal holding such values) never wins.
        if (d < best) {
            best = d;
            period = i;
        }
    }
    return period;
}

bool CFundamentalAnalysis::searchPeriods(const CSampleBuffer& resampled, const CSampleBuffer& lower,
                                         const CSampleBuffer& upper, std::vector<double>& periods,
                                         const CAnalysisHooks& hooks, bool* outOfMemory) const
{
    const std::uint32_t n = resampled.count();
    if (outOfMemory)
        *outOfMemory = false;
    periods.assign(n, 0.0);
    if (n == 0)
        return hooks.report(0.0, 1.0);

    // The curve position advances by one step per sample; the positions at
    // the chunk starts are taken from that same running sum, so that every
    // thread reads the curves exactly where a single pass would.
    const double width = static_cast<double>(std::max(lower.count(), upper.count())) / static_cast<double>(n);
    const std::uint32_t chunks = (n + kChunk - 1) / kChunk;
    std::vector<double> chunkStart(chunks);
    std::int64_t maxLag = 0;
    // The last sample whose comparison window (three of its longest periods)
    // still lies within the recording, if any.
    std::optional<std::uint32_t> lastWhole;
    {
        double position = 0.0;
        for (std::uint32_t m = 0; m < n; ++m, position += width) {
            if (m % kChunk == 0)
                chunkStart[m / kChunk] = position;
            // The largest lag sets how far past the end the windows reach.
            const std::int64_t hi = boundsAt(lower, upper, position, width).hi;
            maxLag = std::max(maxLag, hi);
            if (std::int64_t(m) + 3 * hi <= std::int64_t(n))
                lastWhole = m;
        }
    }
    const CLagDifferences lags(resampled.data(), n, maxLag);

    std::atomic<std::uint32_t> nextChunk{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> memoryFailed{false};
    std::atomic<std::uint64_t> done{0};
    std::mutex reportMutex;

    auto work = [&] {
        try {
            std::vector<double> scratch;
            for (;;) {
                if (stop.load())
                    return;
                const std::uint32_t c = nextChunk.fetch_add(1);
                if (c >= chunks)
                    return;
                const std::uint32_t first = c * kChunk;
                const std::uint32_t end = std::min(n, first + kChunk);
                double position = chunkStart[c];
                for (std::uint32_t m = first; m < end; ++m, position += width)
                    periods[m] = static_cast<double>(bestLag(lags, m, boundsAt(lower, upper, position, width), scratch));
                const std::uint64_t total = done.fetch_add(end - first) + (end - first);
                // One thread at a time reports; a paused task waits here,
                // and the others wait behind it, so pausing holds them all.
                std::lock_guard<std::mutex> lock(reportMutex);
                if (!hooks.report(static_cast<double>(total) / static_cast<double>(n), 1.0))
                    stop = true;
            }
        } catch (const std::bad_alloc&) {
            memoryFailed = true;
            stop = true;
        }
    };

    int threads = m_settings.threads > 0 ? m_settings.threads : static_cast<int>(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, 64);
    threads = static_cast<int>(std::min<std::uint32_t>(static_cast<std::uint32_t>(threads), chunks));
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer threads only make it slower
        }
    }
    work();
    for (std::thread& t : helpers)
        t.join();
    if (outOfMemory)
        *outOfMemory = memoryFailed.load();
    // Past that sample the windows compare the recording with the silence
    // after it, and the shortest lag always looks best: a voice would end
    // on a note far above anything it sang. The last period measured on a
    // whole window holds to the end instead.
    if (lastWhole && !stop.load())
        std::fill(periods.begin() + std::ptrdiff_t(*lastWhole) + 1, periods.end(), periods[*lastWhole]);
    return !stop.load();
}

int CFundamentalAnalysis::run(const CSampleBuffer& source, double sourceRate, const CSampleBuffer& lower,
                              const CSampleBuffer& upper, const std::string& outputPath, const CAnalysisHooks& hooks)
{
    hooks.setTitle("Sound Analysis");
    hooks.setStatus("Extracting Fundamental Frequencies...");
    hooks.report(0.0, 1.0);
    m_periods.clear();
    bool failed = false;
    bool aborted = false;

    hooks.say("Resampling Source\r\n");
    const std::uint64_t n = entryCount(source.count(), sourceRate, m_settings.analysisRate);
    CSampleBuffer work;
    hooks.say("Creating Analyze Buffer\r\n");
    if (!fitsBuffers(n, source.count()) || !(m_settings.preRate > 0.0) || !work.copyFrom(source)
        || (n > 0 && !work.resample(static_cast<std::uint32_t>(n))) || (n == 0 && !work.resize(0))) {
        hooks.say("*** ERROR: Not enough memory\r\n");
        failed = true;
    }

    if (!failed) {
        hooks.say("Analyzing\r\n");
        bool outOfMemory = false;
        try {
            aborted = !searchPeriods(work, lower, upper, m_periods, hooks, &outOfMemory);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
            aborted = true;
        }
        work.resize(0);
        if (outOfMemory) {
            hooks.say("*** ERROR: Not enough memory\r\n");
            failed = true;
        }
    }

    if (!failed && !aborted) {
        hooks.say("Saving Analysis Results To " + outputPath + "\r\n");
        if (!CAwaFile::write(outputPath, m_periods)) {
            hooks.say("*** ERROR: File output error\r\n");
            failed = true;
        }
    }
    if (failed)
        hooks.raiseFailure();
    const bool ok = !failed && !aborted;
    hooks.say(ok ? "Analysis successfully done.\r\n"
                 : "Analysis not entirely done, error occured or aborted upon user request.\r\n");
    hooks.setStatus("Done");
    return ok ? 1 : 0;
}
