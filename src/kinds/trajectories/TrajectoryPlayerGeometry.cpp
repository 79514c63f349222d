#include "kinds/trajectories/TrajectoryPlayerGeometry.h"

#include "core/IntRange.h"
#include "kinds/trajectories/PlayClock.h"
#include "kinds/trajectories/Trajectory.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace TrajectoryPlayerGeometry {

QPointF pointUnderPointer(QPointF world, int offsetX, int offsetY)
{
    // A zoom in and out leaves the view a rounding error away from where it
    // was: a hair below a whole unit still counts as that unit.
    auto unit = [](double value) {
        constexpr double kFarAway = 1.0e9;
        constexpr double kHair = 1.0e-6;
        return std::isnan(value) ? 0.0 : std::floor(std::max(-kFarAway, std::min(value, kFarAway)) + kHair);
    };
    return QPointF(unit(world.x()) - offsetX, unit(world.y()) - offsetY);
}

bool appendPoint(Trajectory& trajectory, QPointF point)
{
    const int count = trajectory.GetPointCount();
    if (count > 0) {
        const TrajectoryPoint last = trajectory.GetPoint(count - 1);
        if (last.x == point.x() && last.y == point.y())
            return false;
    }
    trajectory.AddPoint(point.x(), point.y());
    return true;
}

QPoint centredOrigin(Trajectory& trajectory, QSize client)
{
    trajectory.UpdateBounds();
    const std::int64_t minX = toPixel(trajectory.GetMinX(), 0);
    const std::int64_t maxX = toPixel(trajectory.GetMaxX(), 0);
    const std::int64_t minY = toPixel(trajectory.GetMinY(), 0);
    const std::int64_t maxY = toPixel(trajectory.GetMaxY(), 0);
    // The free room on each axis, split in two (integer division). The path
    // is drawn shifted by its offset, so the view follows it there.
    const std::int64_t x = minX - (client.width() + minX - (maxX + 1)) / 2 + trajectory.GetOffsetX();
    const std::int64_t y = minY - (client.height() + minY - maxY - 1) / 2 + trajectory.GetOffsetY();
    return QPoint(saturated(x), saturated(y));
}

QPoint screenZeroForObject(QPoint object, QSize client)
{
    return QPoint(saturated(std::int64_t(client.width() / 2) - object.x()),
                  saturated(std::int64_t(client.height() / 2) - object.y()));
}

int lastPointIndex(const Trajectory* trajectory)
{
    return trajectory && trajectory->GetPointCount() > 0 ? trajectory->GetPointCount() - 1 : 0;
}

void loadClock(PlayClock& clock, const Trajectory* trajectory)
{
    if (trajectory)
        clock.SetPlayMode(trajectory->GetPlayMode());
    clock.SetStart(0.0);
    clock.SetEnd(lastPointIndex(trajectory));
    clock.Restart();
}

} // namespace TrajectoryPlayerGeometry
