#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

class CMapItem;
class CMapStamp;

// What the map editor's tools do to cells, in cell coordinates (x the
// column, y the line). Each answers the smallest rectangle of cells it
// changed, empty when nothing changed, so that only those are redrawn.
class CMapCellEdits {
public:
    // The cells on the straight line from `from` to `to`, both ends
    // included: a drag paints every cell it passes even when the pointer
    // skips some between two moves.
    static std::vector<QPoint> cellsBetween(QPoint from, QPoint to);
    // Sets each cell inside the map to `value`; cells outside are ignored.
    static QRect paint(CMapItem& map, const std::vector<QPoint>& cells, int value);
    // The area of cells equal to the start cell and joined to it by sides
    // takes `value`.
    static QRect floodFill(CMapItem& map, QPoint start, int value);
    // Every cell of the rectangle with corners a and b (inclusive, clamped
    // to the map) takes `value`.
    static QRect fillRectangle(CMapItem& map, QPoint a, QPoint b, int value);

    // The same with a stamp: a stroke lays the copies of the stamp that
    // cover the cells it passes, side by side from `anchor` (where it
    // began); a fill repeats the stamp from its start cell, a rectangle
    // from its top-left corner. A stamp of one cell does what its value does.
    static QRect paint(CMapItem& map, const std::vector<QPoint>& cells, const CMapStamp& stamp, QPoint anchor);
    static QRect floodFill(CMapItem& map, QPoint start, const CMapStamp& stamp);
    static QRect fillRectangle(CMapItem& map, QPoint a, QPoint b, const CMapStamp& stamp);
};
