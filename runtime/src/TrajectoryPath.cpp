#include "quillop/runtime/TrajectoryPath.h"

namespace quillop {

TrajectoryPoint pointOnPath(const TrajectoryPoint* points, std::size_t count, double t)
{
    if (count == 0)
        return {};
    // The index is t truncated toward zero: t in (-1, 0) lands in the first
    // segment and extrapolates slightly before the first point. Comparisons
    // and a plain conversion stand in for a rounding call, which the loops
    // that probe a path many times per point would feel.
    if (count == 1 || !(t > -1.0))
        return points[0];
    if (t >= static_cast<double>(count - 1))
        return points[count - 1];
    const std::size_t k = t < 0 ? 0 : static_cast<std::size_t>(t);
    const double f = t - static_cast<double>(k);
    return {points[k].x * (1 - f) + f * points[k + 1].x, points[k].y * (1 - f) + f * points[k + 1].y};
}

} // namespace quillop
