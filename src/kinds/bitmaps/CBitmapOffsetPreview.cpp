#include "kinds/bitmaps/CBitmapOffsetPreview.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/bitmaps/CBitmapItem.h"

#include <QPainter>

#include <cmath>

namespace {
CBitmapItem* bitmapAt(const CResourceHolder& document, int row)
{
    return dynamic_cast<CBitmapItem*>(document.get(GroupBitmaps, row));
}
} // namespace

QRect CBitmapOffsetPreview::bitmapRect(const CResourceHolder& document, int row) const
{
    const CBitmapItem* bitmap = bitmapAt(document, row);
    if (!bitmap || bitmap->imageView().isNull())
        return {};
    const QSize size = bitmap->imageView().size();
    // Where drawing puts it: the sum truncated, as a bitmap draws.
    const QPoint corner(static_cast<int>(std::trunc(m_origin.x() + bitmap->offsetX())),
                        static_cast<int>(std::trunc(m_origin.y() + bitmap->offsetY())));
    return {corner, size};
}

QRect CBitmapOffsetPreview::drawnBounds(const CResourceHolder& document, const std::vector<int>& rows) const
{
    QRect bounds(m_origin, QSize(1, 1));
    for (int row : rows)
        bounds = bounds.united(bitmapRect(document, row));
    return bounds;
}

void CBitmapOffsetPreview::draw(QPainter& painter, const CResourceHolder& document, int current,
                                const std::vector<int>& others, const QRect& visible, const Colors& colors) const
{
    painter.save();
    painter.setPen(QPen(colors.lines, 0));
    painter.drawLine(visible.left(), m_origin.y(), visible.right(), m_origin.y());
    painter.drawLine(m_origin.x(), visible.top(), m_origin.x(), visible.bottom());
    for (int row : others) {
        if (row == current)
            continue;
        const CBitmapItem* bitmap = bitmapAt(document, row);
        if (!bitmap)
            continue;
        bitmap->draw(painter, m_origin.x(), m_origin.y());
        const QRect bounds = bitmapRect(document, row);
        if (!bounds.isEmpty()) {
            // Just outside the picture, so the frame hides none of it.
            painter.setPen(QPen(colors.frame, 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(bounds.adjusted(-1, -1, 0, 0));
        }
    }
    if (const CBitmapItem* bitmap = bitmapAt(document, current))
        bitmap->draw(painter, m_origin.x(), m_origin.y());
    painter.restore();
}

std::vector<int> CBitmapOffsetPreview::moveOffsets(CResourceHolder& document, const std::vector<int>& rows,
                                                   QPoint delta)
{
    std::vector<int> changed;
    if (delta.isNull())
        return changed;
    for (int row : rows)
        if (CBitmapItem* bitmap = bitmapAt(document, row)) {
            bitmap->setOffsetX(bitmap->offsetX() + delta.x());
            bitmap->setOffsetY(bitmap->offsetY() + delta.y());
            changed.push_back(row);
        }
    return changed;
}

std::vector<int> CBitmapOffsetPreview::resetOffsets(CResourceHolder& document, const std::vector<int>& rows)
{
    std::vector<int> changed;
    for (int row : rows)
        if (CBitmapItem* bitmap = bitmapAt(document, row); bitmap && (bitmap->offsetX() != 0 || bitmap->offsetY() != 0)) {
            bitmap->setOffsetX(0);
            bitmap->setOffsetY(0);
            changed.push_back(row);
        }
    return changed;
}
