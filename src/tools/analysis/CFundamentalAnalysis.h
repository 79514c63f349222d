#pragma once

#include "media/audio/CSampleBuffer.h"
#include "tools/analysis/CAnalysisHooks.h"

#include <cstdint>
#include <string>
#include <vector>

class CLagDifferences;

// The analysis proper: for every sample of the recording resampled to the
// analysis rate, the lag between the bound curves at which the signal best
// matches itself over about three periods. The result is one period per
// sample, in samples at the analysis rate, and goes to an analysis file.
class CFundamentalAnalysis {
public:
    struct Settings {
        double analysisRate = 44100.0;
        double preRate = 6000.0; // the rate the bound curves' lags were measured at
        // Added to a curve value to make it a lag: the preview's row r
        // stands for lag r + minimumLag.
        double rowOffset = 2.0;
        int threads = 0; // 0: one per processor
    };

    // Entries at or above this are refused as too much memory for one run.
    static constexpr std::uint64_t kMaxEntries = std::uint64_t(1) << 28;
    // Resampling makes at most this many entries of each source sample
    // (the highest analysis rate over the lowest rate a recording has), so
    // what a run holds grows with the sound, not with the rate it claims.
    static constexpr std::uint64_t kMaxStretch = 512;

    // The resampled entries fit both bounds above.
    static bool fitsBuffers(std::uint64_t entries, std::uint32_t samples)
    {
        return entries < kMaxEntries && entries <= std::uint64_t(samples) * kMaxStretch;
    }

    explicit CFundamentalAnalysis(Settings settings) : m_settings(settings) {}

    // The whole task, with its log lines. `source` is channel 0 of the
    // recording, `lower` and `upper` the bound curves (one value per preview
    // column; empty curves make every period 0). 1 when the file was written;
    // 0 when stopped or failed (failures also raise the hooks' fail).
    int run(const CSampleBuffer& source, double sourceRate, const CSampleBuffer& lower, const CSampleBuffer& upper,
            const std::string& outputPath, const CAnalysisHooks& hooks);

    // The periods of the last run (complete only when it was not stopped).
    const std::vector<double>& periods() const { return m_periods; }

    // trunc(samples x analysis rate / source rate); 0 for a rate that is not
    // a positive number.
    static std::uint64_t entryCount(std::uint32_t samples, double sourceRate, double analysisRate);

    // The search itself over already resampled samples, filling `periods`
    // (sized to the samples). False when `progress` asked to stop or memory
    // ran out (then `outOfMemory` is set).
    bool searchPeriods(const CSampleBuffer& resampled, const CSampleBuffer& lower, const CSampleBuffer& upper,
                       std::vector<double>& periods, const CAnalysisHooks& hooks, bool* outOfMemory = nullptr) const;

    // The lag bounds used for sample m, given the curve position for it.
    struct Bounds {
        std::int64_t lo = 0;
        std::int64_t hi = 0;
    };
    Bounds boundsAt(const CSampleBuffer& lower, const CSampleBuffer& upper, double position, double width) const;

    // The best lag of lo..hi for the window starting at `start`: the smallest
    // mean absolute difference over 3 hi - i samples, the smallest lag on
    // ties; lo when the range is empty.
    static std::int64_t bestLag(const CLagDifferences& lags, std::uint32_t start, const Bounds& bounds,
                                std::vector<double>& scratch);

private:
    Settings m_settings;
    std::vector<double> m_periods;
};
