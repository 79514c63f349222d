#include "kinds/maps/ui/CMapCanvas.h"

#include "core/CResourceHolder.h"
#include "grid/CCellGridLines.h"
#include "grid/ui/CZoomView.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/ui/CMapEditor.h"
#include "params/ui/CGuiColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

CMapCanvas::CMapCanvas(CMapEditor& editor, QWidget* parent) : QWidget(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("mapCanvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The lit cells follow the pointer without a button down.
    setMouseTracking(true);
    setMinimumSize(32, 32);
    m_wheel.setInterval(kWheelMoveMs);
    connect(&m_wheel, &QTimer::timeout, this, &CMapCanvas::wheelStep);
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, qOverload<>(&QWidget::update));
}

CMapCanvasPicture::Scene CMapCanvas::scene() const
{
    CMapCanvasPicture::Scene s;
    s.map = m_editor.map();
    s.document = m_editor.document();
    s.view = m_view ? m_view->transform() : QTransform();
    s.currentCell = m_editor.currentCell();
    s.focused = hasFocus();
    s.band = m_band;
    s.hover = m_hover;
    s.zoomedOut = &m_zoomedOut;
    return s;
}

QPoint CMapCanvas::cellAt(const QPointF& pixel) const
{
    const CMapItem* map = m_editor.map();
    if (!map || !m_view)
        return {-1, -1};
    const QPointF at = m_view->toContent(pixel);
    // Pixels left of or above the map are outside, not in cell 0.
    if (at.x() < 0 || at.y() < 0)
        return {-1, -1};
    const int column = map->columnAt(static_cast<int>(std::floor(at.x())));
    const int line = map->lineAt(static_cast<int>(std::floor(at.y())));
    return column < 0 || line < 0 ? QPoint(-1, -1) : QPoint(column, line);
}

QRect CMapCanvas::cellPixels(QPoint cell) const
{
    const CMapItem* map = m_editor.map();
    if (!map || !m_view)
        return {};
    return CMapCanvasPicture::cellRect(*map, m_view->transform(), cell).toAlignedRect().adjusted(-2, -2, 2, 2);
}

void CMapCanvas::updateCells(const QRect& cells)
{
    if (cells.isEmpty())
        return;
    update(cellPixels(cells.topLeft()).united(cellPixels(cells.bottomRight())));
}

void CMapCanvas::cellsEdited(const QRect& cells)
{
    m_zoomedOut.cellsChanged(cells);
    updateCells(cells);
}

void CMapCanvas::mapShown()
{
    m_zoomedOut.clear();
    update();
}

void CMapCanvas::paintEvent(QPaintEvent* event)
{
    const CGuiColors& colors = CGuiColors::instance();
    CMapCanvasPicture::Style style;
    style.background = colors.qcolor(CGuiColors::WindowFace);
    style.lines = colors.qcolor(CGuiColors::WindowText);
    style.focused = colors.qcolor(CGuiColors::FocusedArea);
    style.unfocused = colors.qcolor(CGuiColors::UnfocusedArea);
    const QRegion region = event->region();
    const std::vector<QRect> areas(region.begin(), region.end());
    CMapCanvasPicture::render(m_picture, size(), areas, scene(), style);
    QPainter painter(this);
    painter.setClipRegion(region);
    m_picture.drawWithoutOffset(painter);
    const CMapItem* map = m_editor.map();
    if (map && m_view && m_view->gridShown()) {
        const std::vector<QLineF> lines =
            CCellGridLines::lines(QSizeF(map->cellWidth(), map->cellHeight()),
                                  QRectF(CMapCanvasPicture::mapArea(*map)), m_view->transform(), size());
        // Light enough to leave the tiles readable, on dark and light tiles alike.
        painter.setPen(QPen(QColor(255, 255, 255, 110), 0));
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        painter.setPen(QPen(QColor(0, 0, 0, 60), 0));
        painter.translate(1, 1);
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
}

void CMapCanvas::press(QMouseEvent* event)
{
    const QPointF at = event->position();
    m_lastPixel = at.toPoint();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && shift)) {
        m_drag = Drag::Scroll;
        return;
    }
    if (event->button() == Qt::RightButton) {
        // A click picks the cell's value, a drag takes the cells as a stamp.
        const QPoint cell = cellAt(at);
        if (cell.x() < 0)
            return;
        m_drag = Drag::StampBand;
        m_bandStart = m_bandEnd = cell;
        m_band = QRect(cell, cell);
        updateCells(m_band);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = cellAt(at);
    if (cell.x() < 0)
        return;
    const bool fill = m_editor.tool() == CMapEditor::FillTool || (event->modifiers() & Qt::ControlModifier);
    if (fill) {
        m_editor.fillArea(cell);
        return;
    }
    if (m_editor.tool() == CMapEditor::RectangleTool) {
        m_drag = Drag::Band;
        m_bandStart = m_bandEnd = cell;
        m_band = QRect(cell, cell);
        updateCells(m_band);
        return;
    }
    // The stroke is one edit, from this press to the release.
    m_drag = Drag::Paint;
    m_lastCell = m_strokeStart = cell;
    m_editor.beginEdit(QString::fromLatin1(m_editor.tool() == CMapEditor::EraseTool ? CMapEditor::kEraseText
                                                                                   : CMapEditor::kPaintText));
    m_editor.paintCells(cell, cell, m_strokeStart);
}

void CMapCanvas::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (m_drag == Drag::None)
        press(event);
}

void CMapCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is a second press: it paints, or picks on the right.
    if (m_drag == Drag::None)
        press(event);
}

void CMapCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const QPoint delta = at - m_lastPixel;
    m_lastPixel = at;
    switch (m_drag) {
    case Drag::Scroll:
        if (m_view && !delta.isNull())
            m_view->scrollByPixels(delta);
        break;
    case Drag::Paint: {
        const QPoint cell = cellAt(at);
        if (cell.x() >= 0 && cell != m_lastCell) {
            m_editor.paintCells(m_lastCell, cell, m_strokeStart);
            m_lastCell = cell;
        }
        break;
    }
    case Drag::Band:
    case Drag::StampBand: {
        const QPoint cell = cellAt(at);
        if (cell.x() >= 0) {
            updateCells(m_band);
            m_bandEnd = cell;
            m_band = QRect(m_bandStart, cell).normalized();
            updateCells(m_band);
        }
        break;
    }
    case Drag::None: break;
    }
    if (m_drag != Drag::Scroll)
        setHover(cellAt(at));
}

void CMapCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    const Drag drag = m_drag;
    const bool ends = (drag == Drag::Scroll && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton))
                      || (drag == Drag::StampBand && event->button() == Qt::RightButton)
                      || (drag != Drag::Scroll && drag != Drag::StampBand && event->button() == Qt::LeftButton);
    if (!ends)
        return;
    m_drag = Drag::None;
    if (drag == Drag::Paint) {
        m_editor.endEdit();
    } else if (drag == Drag::Band) {
        const QRect band = m_band;
        m_band = QRect();
        updateCells(band);
        m_editor.fillRectangle(m_bandStart, m_bandEnd);
    } else if (drag == Drag::StampBand) {
        const QRect band = m_band;
        m_band = QRect();
        updateCells(band);
        m_editor.takeStamp(m_bandStart, m_bandEnd);
        m_editor.setCurrentCell(m_bandEnd);
    }
}

void CMapCanvas::setHover(QPoint cell)
{
    m_hoverCell = cell;
    QRect hover;
    if (cell.x() >= 0) {
        // The pen and the eraser lay the whole brush; the fills start at one cell.
        const CMapEditor::Tool tool = m_editor.tool();
        const bool whole = tool == CMapEditor::PaintTool || tool == CMapEditor::EraseTool;
        hover = QRect(cell, whole ? m_editor.brush().size() : QSize(1, 1));
    }
    if (hover == m_hover)
        return;
    updateCells(m_hover);
    m_hover = hover;
    updateCells(m_hover);
}

void CMapCanvas::showDropAt(QPoint pixel, int count)
{
    const QPoint cell = count > 0 ? cellAt(pixel) : QPoint(-1, -1);
    const QRect hover = cell.x() >= 0 ? QRect(cell, QSize(count, 1)) : QRect();
    if (hover == m_hover)
        return;
    updateCells(m_hover);
    m_hover = hover;
    m_hoverCell = cell;
    updateCells(m_hover);
}

void CMapCanvas::brushChanged()
{
    setHover(m_hoverCell);
}

void CMapCanvas::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    setHover({-1, -1});
}

void CMapCanvas::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier) {
        m_editor.pickBitmap();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMapCanvas::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    // Many small moves rather than one jump, so the eye follows the map.
    const double move = 3.0 * delta / 120.0;
    if (m_wheelMoves.size() < std::size_t(kWheelMoves))
        m_wheelMoves.resize(kWheelMoves, 0.0);
    for (int k = 0; k < kWheelMoves; ++k)
        m_wheelMoves[std::size_t(k)] += move;
    if (!m_wheel.isActive())
        m_wheel.start();
    event->accept();
}

void CMapCanvas::wheelStep()
{
    if (m_wheelMoves.empty()) {
        m_wheel.stop();
        return;
    }
    const double move = m_wheelMoves.front();
    m_wheelMoves.pop_front();
    if (m_view)
        m_view->scrollByPixels({0, move});
    if (m_wheelMoves.empty())
        m_wheel.stop();
}

void CMapCanvas::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CMapCanvas::showEvent(QShowEvent* event)
{
    // The bitmaps may have been edited while another panel was shown.
    QWidget::showEvent(event);
    m_zoomedOut.clear();
}

void CMapCanvas::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
