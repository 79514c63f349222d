#pragma once

#include <QPoint>
#include <QRect>

class CResourceHolder;

// Where the elements of a world go while it plays: the union of the
// rectangles their pictures are drawn in over the first game steps, every
// element followed along its path (and through its animation's frames),
// the worlds an element plays or takes in with theirs. A view that fits
// this keeps a moving element in sight all along, where a fit to what is
// drawn now would lose it the next moment.
class CWorldPathBounds {
public:
    // Game steps followed by default; a world of many elements is followed
    // for fewer, so that a fit stays quick (steps x elements at most
    // kPlacements).
    static constexpr int kSteps = 1200;
    static constexpr long long kPlacements = 500000;

    // With the world's drawing point at `drawingPoint`; an empty rectangle
    // when the row names no world or nothing is drawn.
    static QRect over(const CResourceHolder& document, int worldIndex, QPoint drawingPoint, int steps = kSteps);
};
