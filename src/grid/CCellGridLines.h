#pragma once

#include <QLineF>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <vector>

// The lines of a cell grid as a zoomed canvas shows them: cells of
// `cell` content units from the content origin, within `bounds` (a map's
// area; an empty rectangle for a canvas without bounds, such as a world),
// through `view` (content to canvas pixels) on a canvas of `canvas` pixels.
// Only the lines in the canvas are made, so the cost follows the window, not
// the map; cells under kLeastCellPixels on screen give no lines at all, as
// they would cover the picture.
class CCellGridLines {
public:
    static constexpr double kLeastCellPixels = 4.0;

    static std::vector<QLineF> lines(QSizeF cell, const QRectF& bounds, const QTransform& view, QSize canvas);
};
