#include "kinds/maps/CMapStamp.h"

#include "kinds/maps/CMapItem.h"

#include <algorithm>

namespace {
// The remainder that stays in 0..side-1 for cells left of or above the anchor.
int wrap(int offset, int side)
{
    const int r = offset % side;
    return r < 0 ? r + side : r;
}
} // namespace

CMapStamp CMapStamp::fromMap(const CMapItem& map, QPoint a, QPoint b)
{
    if (map.columnCount() <= 0 || map.lineCount() <= 0)
        return CMapStamp();
    const int left = std::clamp(std::min(a.x(), b.x()), 0, map.columnCount() - 1);
    const int right = std::clamp(std::max(a.x(), b.x()), 0, map.columnCount() - 1);
    const int top = std::clamp(std::min(a.y(), b.y()), 0, map.lineCount() - 1);
    const int bottom = std::clamp(std::max(a.y(), b.y()), 0, map.lineCount() - 1);
    CMapStamp stamp;
    stamp.m_size = QSize(right - left + 1, bottom - top + 1);
    stamp.m_values.clear();
    stamp.m_values.reserve(std::size_t(stamp.m_size.width()) * std::size_t(stamp.m_size.height()));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            stamp.m_values.push_back(map.cell(x, y));
    return stamp;
}

int CMapStamp::valueAt(QPoint cell, QPoint anchor) const
{
    const int x = wrap(cell.x() - anchor.x(), m_size.width());
    const int y = wrap(cell.y() - anchor.y(), m_size.height());
    return m_values[std::size_t(y) * std::size_t(m_size.width()) + std::size_t(x)];
}

QPoint CMapStamp::copyAt(QPoint cell, QPoint anchor) const
{
    return cell - QPoint(wrap(cell.x() - anchor.x(), m_size.width()), wrap(cell.y() - anchor.y(), m_size.height()));
}
