#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// Drawing positions of worlds come from doubles and integers read from
// files. They are truncated toward zero and kept within a range any painter
// handles, so that no value (huge, infinite or not a number) can overflow an
// int on the way.
namespace quillop::WorldCoordinates {
inline constexpr std::int64_t kLimit = std::int64_t(1) << 28;

inline std::int64_t truncated(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<std::int64_t>(std::clamp(std::trunc(value), double(-kLimit), double(kLimit)));
}

inline int clamped(std::int64_t value)
{
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}
} // namespace quillop::WorldCoordinates
