#pragma once

#include "tools/analysis/CAnalysisHooks.h"

#include <cstdint>
#include <vector>

class CSampleBuffer;

// How readily the tracker takes a dip for a period, and what it costs to
// change octave or voicing between neighbouring columns.
struct CPeriodTrackerSettings {
    double threshold = 0.15;   // a dip below this is a period
    double unvoiced = 0.45;    // what a column costs as unvoiced: dips above it lose
    double notFirstDip = 0.12; // added to a dip after the first one below the threshold
    double octaveJump = 0.35;  // cost of a change of one octave between neighbouring columns
    double voicing = 0.25;     // cost of a change between voiced and unvoiced
    double silence = 0.02;     // columns quieter than this share of the loudest one are unvoiced
};

// The period of a recording column by column, found without a user drawing
// anything, so that the exact search of the analysis only has to look near
// it.
//
// Each column's candidates are the dips of the cumulative-mean-normalised
// difference
//     d'(t) = d(t) t / (d(1) + ... + d(t)),  d(t) = sum over the window of (x[j] - x[j + t])^2,
// which is near 0 at the period and at each of its multiples. The first dip
// below the threshold is preferred to deeper ones further on, since the
// multiples of the period match about as well as the period itself. The
// candidates are then tracked over time (the cheapest path through them, a
// jump of an octave between neighbouring columns costing as much as a poor
// dip), so that the estimate does not leap between octaves from one column
// to the next. Silent and noisy columns, where no dip is good enough, are
// unvoiced.
class CPeriodTracker {
public:
    using Settings = CPeriodTrackerSettings;

    // One lag per column (samples of `samples`; 0 for an unvoiced column).
    // Column c starts at sample c x step; lags minLag..maxLag are looked at
    // over `window` samples. Empty when the hooks asked to stop.
    static std::vector<double> track(const CSampleBuffer& samples, std::int64_t step, std::int64_t columns,
                                     std::int64_t minLag, std::int64_t maxLag, std::int64_t window,
                                     const CAnalysisHooks& hooks = {}, const Settings& settings = {});

    // The normalised difference of one window, d'(0) .. d'(maxLag).
    static std::vector<double> normalisedDifference(const CSampleBuffer& samples, std::int64_t start,
                                                    std::int64_t maxLag, std::int64_t window);
};
