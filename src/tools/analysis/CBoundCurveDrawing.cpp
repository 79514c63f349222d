#include "tools/analysis/CBoundCurveDrawing.h"

#include "media/audio/CSampleBuffer.h"

#include <algorithm>

CBoundCurveDrawing::CBoundCurveDrawing(CSampleBuffer& curve, std::int64_t columns, std::int64_t rows)
    : m_curve(curve), m_columns(columns), m_rows(rows)
{
}

CBoundCurveDrawing::Point CBoundCurveDrawing::pointAt(std::int64_t x, std::int64_t y) const
{
    Point p;
    p.column = std::clamp<std::int64_t>(x, 0, std::max<std::int64_t>(0, m_columns - 1));
    p.row = m_rows - 1 - std::clamp<std::int64_t>(y, 0, std::max<std::int64_t>(0, m_rows - 1));
    return p;
}

void CBoundCurveDrawing::press(std::int64_t x, std::int64_t y)
{
    if (m_columns < 1 || m_rows < 1)
        return;
    m_drawing = true;
    m_previous = pointAt(x, y);
    rampTo(m_previous);
}

void CBoundCurveDrawing::move(std::int64_t x, std::int64_t y)
{
    if (!m_drawing)
        return;
    const Point p = pointAt(x, y);
    rampTo(p);
    m_previous = p;
}

void CBoundCurveDrawing::rampTo(const Point& p)
{
    m_curve.ramp(static_cast<std::uint32_t>(m_previous.column), static_cast<std::uint32_t>(p.column),
                 static_cast<double>(m_previous.row), static_cast<double>(p.row));
}
