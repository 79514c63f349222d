#pragma once

#include "quillop/runtime/TrajectoryPoint.h"

#include <cstddef>

namespace quillop {

// The place at fractional point index t along a path: between point i and
// i + 1 for t in i..i+1, the first point for t <= -1 (or NaN), the last for
// t >= count - 1; a path without points is at (0, 0).
TrajectoryPoint pointOnPath(const TrajectoryPoint* points, std::size_t count, double t);

} // namespace quillop
