#include "tools/midi/CSampleStatistics.h"

#include <algorithm>
#include <cmath>

std::size_t CSampleStatistics::clampedIndex(double value, std::size_t limit)
{
    if (!(value > 0.0))
        return 0;
    if (value >= static_cast<double>(limit))
        return limit;
    return static_cast<std::size_t>(value);
}

double CSampleStatistics::rms(const std::vector<double>& samples, double first, double count)
{
    if (!(count >= 1.0))
        return 0.0;
    const std::size_t begin = clampedIndex(first, samples.size());
    const std::size_t end = begin + clampedIndex(count, samples.size() - begin);
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i)
        sum += samples[i] * samples[i];
    // The samples past the end add nothing but still count in the divisor.
    return std::sqrt(sum / std::trunc(count));
}

double CSampleStatistics::percentile(const std::vector<double>& values, double first, double count, double fraction)
{
    const std::size_t begin = clampedIndex(first, values.size());
    const std::size_t n = clampedIndex(count, values.size() - begin);
    if (n == 0)
        return 0.0;
    std::vector<double> y(values.begin() + static_cast<std::ptrdiff_t>(begin),
                          values.begin() + static_cast<std::ptrdiff_t>(begin + n));
    // Periods come from a file: a NaN among them must not break the sort.
    std::sort(y.begin(), y.end(), [](double a, double b) {
        if (std::isnan(a))
            return false;
        return std::isnan(b) || a < b;
    });
    const double q = static_cast<double>(n) * fraction;
    const double f = std::trunc(q);
    const double t = q - f;
    const std::size_t i = std::min(clampedIndex(f, n), n - 1);
    const std::size_t next = std::min(i + 1, n - 1);
    return t > 0.0 ? y[i] * (1.0 - t) + y[next] * t : y[i];
}
