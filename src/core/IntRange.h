#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// Whole pixels from a coordinate in doubles, saturated to the int range so
// that a position far away never wraps round. Not a number gives
// `notANumber`: drawing keeps the default, a place off every picture;
// geometry asks for 0.
inline int toPixel(double value, int notANumber = std::numeric_limits<int>::min())
{
    if (std::isnan(value))
        return notANumber;
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return value <= low ? std::numeric_limits<int>::min()
                        : value >= high ? std::numeric_limits<int>::max() : static_cast<int>(value);
}

// A 64-bit sum or product brought back into the int range.
inline int saturated(std::int64_t value)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
