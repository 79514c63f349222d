#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>

namespace quillop {
class PlayClock;
}
using quillop::PlayClock;
class Trajectory;

// The arithmetic of the trajectory player, apart from its window: where a
// pointer lands in the world, where the view must be to centre a path or
// the moving object, and how the clock is set up for a path.
namespace TrajectoryPlayerGeometry {

// The point a click appends with the pointer over world point `world`: the
// whole unit there, before the trajectory's offset is added back. Points
// far outside any view are kept within the range a window can show.
QPointF pointUnderPointer(QPointF world, int offsetX, int offsetY);

// Appends `point` unless it repeats the last stored point; true when added.
bool appendPoint(Trajectory& trajectory, QPointF point);

// The origin that puts the bounds of the path (updated first), as drawn with
// its offset, in the middle of a window of that size.
QPoint centredOrigin(Trajectory& trajectory, QSize client);

// Where world (0, 0) is drawn so that the object at `object` (world
// coordinates) lands in the middle of the window.
QPoint screenZeroForObject(QPoint object, QSize client);

// Play mode from the trajectory, from its first to its last point, restarted.
// Without a trajectory the clock spans 0..0.
void loadClock(PlayClock& clock, const Trajectory* trajectory);

// The index of a position for the clock's span: the last point index, 0
// without points.
int lastPointIndex(const Trajectory* trajectory);

} // namespace TrajectoryPlayerGeometry
