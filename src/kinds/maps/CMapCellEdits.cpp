#include "kinds/maps/CMapCellEdits.h"

#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CMapStamp.h"

#include <algorithm>
#include <climits>
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

// Stores a value in a cell inside the map; `changed` grows when what the
// cell holds differs afterwards (a value beyond a short may store as the
// value already there).
void set(CMapItem& map, QPoint cell, int value, QRect& changed)
{
    if (!inside(map, cell))
        return;
    const int before = map.cell(cell.x(), cell.y());
    if (before == value)
        return;
    map.setCell(cell.x(), cell.y(), value);
    if (map.cell(cell.x(), cell.y()) != before)
        grow(changed, cell);
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
    return paint(map, cells, CMapStamp(value), QPoint(0, 0));
}

QRect CMapCellEdits::floodFill(CMapItem& map, QPoint start, int value)
{
    return floodFill(map, start, CMapStamp(value));
}

QRect CMapCellEdits::fillRectangle(CMapItem& map, QPoint a, QPoint b, int value)
{
    return fillRectangle(map, a, b, CMapStamp(value));
}

QRect CMapCellEdits::paint(CMapItem& map, const std::vector<QPoint>& cells, const CMapStamp& stamp, QPoint anchor)
{
    QRect changed;
    QPoint lastCopy(INT_MIN, INT_MIN);
    for (QPoint cell : cells) {
        const QPoint copy = stamp.copyAt(cell, anchor);
        // A stroke passes many cells of one copy: it is laid once.
        if (copy == lastCopy)
            continue;
        lastCopy = copy;
        const QRect covered = stamp.cellsAt(copy);
        for (int y = covered.top(); y <= covered.bottom(); ++y)
            for (int x = covered.left(); x <= covered.right(); ++x)
                set(map, {x, y}, stamp.valueAt({x, y}, anchor), changed);
    }
    return changed;
}

QRect CMapCellEdits::floodFill(CMapItem& map, QPoint start, const CMapStamp& stamp)
{
    QRect changed;
    if (!inside(map, start))
        return changed;
    // The area is found before any cell changes, so a pattern holding the
    // area's own value cannot make it spread or stop early.
    const int target = map.cell(start.x(), start.y());
    const auto columns = static_cast<std::size_t>(map.columnCount());
    std::vector<bool> seen(columns * static_cast<std::size_t>(map.lineCount()), false);
    auto visit = [&](QPoint cell) {
        const std::size_t at = std::size_t(cell.y()) * columns + std::size_t(cell.x());
        if (seen[at])
            return false;
        seen[at] = true;
        return true;
    };
    std::vector<QPoint> area;
    std::vector<QPoint> pending{start};
    visit(start);
    while (!pending.empty()) {
        const QPoint cell = pending.back();
        pending.pop_back();
        area.push_back(cell);
        for (QPoint next : {cell + QPoint(1, 0), cell - QPoint(1, 0), cell + QPoint(0, 1), cell - QPoint(0, 1)})
            if (inside(map, next) && map.cell(next.x(), next.y()) == target && visit(next))
                pending.push_back(next);
    }
    for (QPoint cell : area)
        set(map, cell, stamp.valueAt(cell, start), changed);
    return changed;
}

QRect CMapCellEdits::fillRectangle(CMapItem& map, QPoint a, QPoint b, const CMapStamp& stamp)
{
    QRect changed;
    if (map.columnCount() <= 0 || map.lineCount() <= 0)
        return changed;
    const int left = std::clamp(std::min(a.x(), b.x()), 0, map.columnCount() - 1);
    const int right = std::clamp(std::max(a.x(), b.x()), 0, map.columnCount() - 1);
    const int top = std::clamp(std::min(a.y(), b.y()), 0, map.lineCount() - 1);
    const int bottom = std::clamp(std::max(a.y(), b.y()), 0, map.lineCount() - 1);
    // The pattern starts at the corner the user dragged from the top left.
    const QPoint anchor(std::min(a.x(), b.x()), std::min(a.y(), b.y()));
    for (int x = left; x <= right; ++x)
        for (int y = top; y <= bottom; ++y)
            set(map, {x, y}, stamp.valueAt({x, y}, anchor), changed);
    return changed;
}
