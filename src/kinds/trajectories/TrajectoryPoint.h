#pragma once

// One point of a path, in pixels of the game's world (y grows downwards).
struct TrajectoryPoint {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const TrajectoryPoint&, const TrajectoryPoint&) = default;
};
