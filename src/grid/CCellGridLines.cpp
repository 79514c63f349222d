#include "grid/CCellGridLines.h"

#include <cmath>

std::vector<QLineF> CCellGridLines::lines(QSizeF cell, const QRectF& bounds, const QTransform& view, QSize canvas)
{
    std::vector<QLineF> out;
    if (cell.width() <= 0 || cell.height() <= 0 || canvas.isEmpty() || !view.isInvertible())
        return out;
    const QRectF onScreen = view.mapRect(QRectF(QPointF(0, 0), cell));
    if (onScreen.width() < kLeastCellPixels || onScreen.height() < kLeastCellPixels)
        return out;
    // The content the canvas shows, cut to the bounds when there are some.
    QRectF shown = view.inverted().mapRect(QRectF(QPointF(0, 0), QSizeF(canvas)));
    if (!bounds.isEmpty())
        shown = shown.intersected(bounds);
    if (shown.isEmpty())
        return out;
    const double firstX = std::ceil(shown.left() / cell.width()) * cell.width();
    const double firstY = std::ceil(shown.top() / cell.height()) * cell.height();
    for (double x = firstX; x <= shown.right(); x += cell.width())
        out.push_back(view.map(QLineF(x, shown.top(), x, shown.bottom())));
    for (double y = firstY; y <= shown.bottom(); y += cell.height())
        out.push_back(view.map(QLineF(shown.left(), y, shown.right(), y)));
    return out;
}
