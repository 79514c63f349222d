#pragma once

#include <cstddef>
#include <vector>

// The two measures the MIDI conversion takes from plain sample arrays:
// loudness (root mean square) and a percentile of a short run of periods.
// Indices and counts are doubles already truncated by the caller; anything
// past the end of the array reads as silence.
class CSampleStatistics {
public:
    // sqrt(sum of squares / count) over `count` samples from `first`; samples
    // beyond the end count as 0. An empty window is silent (0), not 0/0.
    static double rms(const std::vector<double>& samples, double first, double count);

    // Sorts a copy of up to `count` values from `first` (clamped to what
    // exists) and interpolates at count x fraction between the value there
    // and the next one. Past the last value the last value is used again,
    // so that a single value is its own median. No values give 0.
    static double percentile(const std::vector<double>& values, double first, double count, double fraction);

    // A non-negative index or count taken from a double, clamped to `limit`
    // (not-a-number and negatives give 0).
    static std::size_t clampedIndex(double value, std::size_t limit);
};
