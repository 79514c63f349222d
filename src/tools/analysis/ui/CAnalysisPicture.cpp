#include "tools/analysis/ui/CAnalysisPicture.h"

#include "tools/analysis/CAnalysisView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

CAnalysisPicture::CAnalysisPicture(CAnalysisView& view, QWidget* parent) : QWidget(parent), m_view(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setMinimumSize(sizeHint());
}

CAnalysisPicture::~CAnalysisPicture() = default;

QSize CAnalysisPicture::sizeHint() const
{
    if (m_view.picture().isNull())
        return {320, 120};
    return m_view.picture().size();
}

void CAnalysisPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (m_view.picture().isNull() || !m_view.hasBounds()) {
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter, QString::fromLatin1(CAnalysisView::kNoAnalysisText));
        return;
    }
    p.drawImage(0, 0, m_view.picture());
    // Row r of a curve lies on picture line rows - 1 - r, through the middle
    // of its pixels.
    const auto draw = [&](const CSampleBuffer& curve, QRgb color) {
        QPolygonF line;
        for (std::int64_t c = 0; c < m_view.columns(); ++c)
            line << QPointF(static_cast<double>(c) + 0.5, static_cast<double>(m_view.rows()) - 0.5 - curve.get(c));
        p.setPen(QPen(QColor::fromRgba(color), 1.0));
        p.drawPolyline(line);
    };
    draw(m_view.lower(), kLowerColor);
    draw(m_view.upper(), kUpperColor);
}

void CAnalysisPicture::mousePressEvent(QMouseEvent* event)
{
    if (m_drawing || !m_view.hasBounds())
        return;
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    CSampleBuffer& curve = button == Qt::LeftButton ? m_view.lower() : m_view.upper();
    m_drawing = std::make_unique<CBoundCurveDrawing>(curve, m_view.columns(), m_view.rows());
    m_button = button;
    m_drawing->press(event->position().toPoint().x(), event->position().toPoint().y());
    update();
    emit curvesChanged();
}

void CAnalysisPicture::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drawing)
        return;
    m_drawing->move(event->position().toPoint().x(), event->position().toPoint().y());
    update();
    emit curvesChanged();
}

void CAnalysisPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_drawing || event->button() != m_button)
        return;
    m_drawing.reset();
    m_button = Qt::NoButton;
}
