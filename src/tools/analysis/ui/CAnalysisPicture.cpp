#include "tools/analysis/ui/CAnalysisPicture.h"

#include "grid/ui/CZoomView.h"
#include "tools/analysis/CAnalysisView.h"

#include <cmath>

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

void CAnalysisPicture::setZoomView(CZoomView* view)
{
    m_zoom = view;
    // The bars show what does not fit; the window no longer has to.
    setMinimumSize(32, 32);
}

QPoint CAnalysisPicture::pictureAt(const QPointF& pixel) const
{
    const QPointF at = m_zoom ? m_zoom->toContent(pixel) : pixel;
    return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
}

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
    if (m_zoom)
        p.setTransform(m_zoom->transform());
    p.drawImage(0, 0, m_view.picture());
    // Row r of a curve lies on picture line rows - 1 - r, through the middle
    // of its pixels.
    const auto draw = [&](const CSampleBuffer& curve, QRgb color) {
        QPolygonF line;
        for (std::int64_t c = 0; c < m_view.columns(); ++c)
            line << QPointF(static_cast<double>(c) + 0.5, static_cast<double>(m_view.rows()) - 0.5 - curve.get(c));
        p.setPen(QPen(QColor::fromRgba(color), 0));
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
    const QPoint at = pictureAt(event->position());
    m_drawing->press(at.x(), at.y());
    update();
    emit curvesChanged();
}

void CAnalysisPicture::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drawing)
        return;
    const QPoint at = pictureAt(event->position());
    m_drawing->move(at.x(), at.y());
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
