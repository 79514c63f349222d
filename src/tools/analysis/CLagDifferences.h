#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// How well a signal matches itself at a range of lags: for a start sample s
// and every lag i of lo..hi, the mean absolute difference
//     d(i) = (sum over k < base - i of |x[s + k] - x[s + i + k]|) / (base - i) x 2
// with samples beyond the end counting as 0. This is the inner loop of both
// the preview and the analysis proper, where it costs nearly all the time.
//
// Every lag's sum is accumulated in increasing k, exactly as a plain loop
// over one lag does, so the results are bit for bit those of
// CSampleBuffer::meanAbsoluteDifference. The speed comes from running
// neighbouring lags side by side instead: one sample x[s + k] is compared
// with a contiguous run x[s + lo + k ..], which vectorises without changing
// the order of any sum.
class CLagDifferences {
public:
    // Keeps a copy of the samples followed by enough zeros that the windows
    // can run past the end without checks. `maxLag` is the largest lag that
    // will be asked for (larger lags are still answered, more slowly).
    CLagDifferences(const double* samples, std::uint32_t count, std::int64_t maxLag);

    std::uint32_t count() const { return m_count; }

    // out[i - lo] := d(i) for i = lo..hi (lo >= 0, hi >= lo, base >= hi so
    // that no window is negative; a window of 0 gives 0).
    void compute(std::uint32_t start, std::int64_t lo, std::int64_t hi, std::int64_t base, double* out) const;

    // The same, one lag at a time with the plain loop: the yardstick the
    // fast path is held to.
    void computePlain(std::uint32_t start, std::int64_t lo, std::int64_t hi, std::int64_t base, double* out) const;

private:
    double sample(std::int64_t index) const
    {
        return index >= 0 && index < static_cast<std::int64_t>(m_count) ? m_samples[static_cast<std::size_t>(index)]
                                                                         : 0.0;
    }

    std::vector<double> m_samples; // m_count samples, then zeros
    std::uint32_t m_count = 0;
    std::int64_t m_padded = 0; // samples held, zeros included
};
