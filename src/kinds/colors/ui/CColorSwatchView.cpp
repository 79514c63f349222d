#include "kinds/colors/ui/CColorSwatchView.h"

#include "params/ui/CGuiColors.h"
#include "kinds/colors/CColorItem.h"

#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

#include <cmath>

CColorSwatchView::CColorSwatchView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(40, 40);
}

void CColorSwatchView::setColors(std::vector<const CColorItem*> colors)
{
    m_colors = std::move(colors);
    update();
}

std::vector<QRect> CColorSwatchView::cellRects(const QRect& area, int count)
{
    std::vector<QRect> cells;
    if (count <= 0 || area.isEmpty())
        return cells;
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        const int c = i % columns;
        const int r = i / columns;
        // Edges from proportional positions, so the cells tile the area exactly.
        const int left = area.left() + area.width() * c / columns;
        const int right = area.left() + area.width() * (c + 1) / columns;
        const int top = area.top() + area.height() * r / rows;
        const int bottom = area.top() + area.height() * (r + 1) / rows;
        cells.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
    }
    return cells;
}

QRect CColorSwatchView::sampleRect(const QRect& cell)
{
    if (cell.height() <= 48 || cell.width() <= 32)
        return {};
    return QRect(QPoint(cell.left() + cell.width() / 2, cell.top() + kSampleTop),
                 QPoint(cell.right() - kSampleInset, cell.bottom() - kSampleInset));
}

void CColorSwatchView::paintSwatch(QPainter& p, const QRect& cell, const CColorItem& color)
{
    p.fillRect(cell, CGuiColors::toQColor(static_cast<std::uint32_t>(color.rgb())));
    const QRect sample = sampleRect(cell);
    if (!sample.isEmpty()) {
        const QRect inner = sample.adjusted(2, 2, -2, -2);
        const int middleY = inner.top() + inner.height() / 2;
        const int middleX = inner.left() + inner.width() / 2;
        const QRect overWhite(QPoint(inner.left(), inner.top()), QPoint(middleX - 1, middleY - 1));
        const QRect overBlack(QPoint(middleX, inner.top()), QPoint(inner.right(), middleY - 1));
        const QRect withAlpha(QPoint(inner.left(), middleY), inner.bottomRight());
        p.fillRect(overWhite, CGuiColors::toQColor(static_cast<std::uint32_t>(color.composedOver(0xffffff))));
        p.fillRect(overBlack, CGuiColors::toQColor(static_cast<std::uint32_t>(color.composedOver(0))));
        // A checkerboard behind the colour with its alpha: a transparent
        // colour shows it, an opaque one hides it completely.
        p.save();
        p.setClipRect(withAlpha);
        const int square = 6;
        for (int y = withAlpha.top(); y <= withAlpha.bottom(); y += square)
            for (int x = withAlpha.left(); x <= withAlpha.right(); x += square) {
                const bool light = (((x - withAlpha.left()) / square) + ((y - withAlpha.top()) / square)) % 2 == 0;
                p.fillRect(QRect(x, y, square, square), light ? QColor(255, 255, 255) : QColor(160, 160, 160));
            }
        p.fillRect(withAlpha, CGuiColors::toQColor(static_cast<std::uint32_t>(color.rgb()), color.alpha()));
        p.restore();
        QPalette palette;
        qDrawShadePanel(&p, sample, palette, true, 2);
    }
    p.setPen(CGuiColors::toQColor(static_cast<std::uint32_t>(color.contrastingTextRgb())));
    p.drawText(cell.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
               QString::fromStdString(color.id()));
}

void CColorSwatchView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const std::vector<QRect> cells = cellRects(rect(), static_cast<int>(m_colors.size()));
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (m_colors[i])
            paintSwatch(p, cells[i], *m_colors[i]);
}
