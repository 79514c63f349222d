#include "kinds/maps/CMapCellEdits.h"

#include "kinds/maps/CMapItem.h"

#include <algorithm>
#include <cstdlib>

namespace {
bool inside(const CMapItem& map, QPoint cell)
{
    return cell.x() >= 0 && cell.y() >= 0 && cell.x() < map.columnCount() && cell.y() < map.lineCount();
}

void grow(QRect& changed, QPoint cell)
{
    changed = changed.isEmpty() ? QRect(cell, cell) : changed.united(QRect(cell, cell));
}
} // namespace

std::vector<QPoint> CMapCellEdits::cellsBetween(QPoint from, QPoint to)
{
    // Bresenham's walk: one cell per step along the longer side.
    std::vector<QPoint> cells;
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint at = from;
    cells.reserve(static_cast<std::size_t>(std::max(dx, -dy)) + 1);
    while (true) {
        cells.push_back(at);
        if (at == to)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += sy;
        }
    }
    return cells;
}

QRect CMapCellEdits::paint(CMapItem& map, const std::vector<QPoint>& cells, int value)
{
    QRect changed;
    for (QPoint cell : cells) {
        if (!inside(map, cell) || map.cell(cell.x(), cell.y()) == value)
            continue;
        map.setCell(cell.x(), cell.y(), value);
        grow(changed, cell);
    }
    return changed;
}

QRect CMapCellEdits::floodFill(CMapItem& map, QPoint start, int value)
{
    QRect changed;
    if (!inside(map, start))
        return changed;
    const int target = map.cell(start.x(), start.y());
    // A cell stores a short: the value it would hold decides whether the
    // area already has it (else the fill would never end).
    map.setCell(start.x(), start.y(), value);
    const int stored = map.cell(start.x(), start.y());
    map.setCell(start.x(), start.y(), target);
    if (stored == target)
        return changed;
    // Cells take the new value as they are queued, so none is queued twice.
    std::vector<QPoint> pending{start};
    map.setCell(start.x(), start.y(), value);
    grow(changed, start);
    while (!pending.empty()) {
        const QPoint cell = pending.back();
        pending.pop_back();
        for (QPoint next : {cell + QPoint(1, 0), cell - QPoint(1, 0), cell + QPoint(0, 1), cell - QPoint(0, 1)}) {
            if (!inside(map, next) || map.cell(next.x(), next.y()) != target)
                continue;
            map.setCell(next.x(), next.y(), value);
            grow(changed, next);
            pending.push_back(next);
        }
    }
    return changed;
}

QRect CMapCellEdits::fillRectangle(CMapItem& map, QPoint a, QPoint b, int value)
{
    QRect changed;
    if (map.columnCount() <= 0 || map.lineCount() <= 0)
        return changed;
    const int left = std::clamp(std::min(a.x(), b.x()), 0, map.columnCount() - 1);
    const int right = std::clamp(std::max(a.x(), b.x()), 0, map.columnCount() - 1);
    const int top = std::clamp(std::min(a.y(), b.y()), 0, map.lineCount() - 1);
    const int bottom = std::clamp(std::max(a.y(), b.y()), 0, map.lineCount() - 1);
    for (int x = left; x <= right; ++x)
        for (int y = top; y <= bottom; ++y)
            if (map.cell(x, y) != value) {
                map.setCell(x, y, value);
                grow(changed, {x, y});
            }
    return changed;
}
