#pragma once

namespace quillop {

// One point of a path, in pixels of the game's world (y grows downwards).
struct TrajectoryPoint {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const TrajectoryPoint& a, const TrajectoryPoint& b) { return a.x == b.x && a.y == b.y; }
};

} // namespace quillop
