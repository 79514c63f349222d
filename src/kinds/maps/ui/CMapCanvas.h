#pragma once

#include "kinds/maps/CMapCanvasPicture.h"
#include "kinds/maps/CMapZoomedOutPicture.h"
#include "media/image/CDisplayBuffer.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <deque>

class CMapEditor;
class CZoomView;

// The canvas of the map editor: the current map drawn through its zoom view,
// the cells the brush would cover lit under the pointer. The left button
// paints the editor's brush (the eraser empties; Ctrl or the fill tool:
// fills the area of equal cells; the rectangle tool: fills the dragged
// rectangle), Shift+drag or the middle button scroll, a right click picks
// the cell's value and a right drag takes the dragged cells as a stamp,
// F4 picks the bitmap by name, the wheel scrolls in small smooth moves and
// Ctrl+wheel zooms.
class CMapCanvas : public QWidget {
    Q_OBJECT
public:
    // The wheel scrolls in this many moves of 3 × delta / 120 pixels each.
    static constexpr int kWheelMoves = 18;
    static constexpr int kWheelMoveMs = 10;

    explicit CMapCanvas(CMapEditor& editor, QWidget* parent = nullptr);
    void setView(CZoomView* view) { m_view = view; }

    // The cell under a canvas pixel, (-1, -1) outside the map.
    QPoint cellAt(const QPointF& pixel) const;
    // Canvas pixels of a cell.
    QRect cellPixels(QPoint cell) const;
    // Redraws the cells of a rectangle of cells.
    void updateCells(const QRect& cells);
    // The values of a rectangle of cells changed.
    void cellsEdited(const QRect& cells);
    // Another map is shown, or the tiles may have changed.
    void mapShown();
    const CDisplayBuffer& picture() const { return m_picture; }
    // The cells the brush covers under the pointer, empty when it is away.
    QRect hoverCells() const { return m_hover; }
    // The brush or the tool changed: the lit cells follow.
    void brushChanged();
    // Lights the `count` cells from the one under `pixel` rightwards, where
    // that many dragged bitmaps would go; a count of 0 puts the light out.
    void showDropAt(QPoint pixel, int count);
    // Wheel moves still to come.
    bool wheelScrolling() const { return m_wheel.isActive(); }

    QSize sizeHint() const override { return {320, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Drag { None, Paint, Scroll, Band, StampBand };
    void press(QMouseEvent* event);
    void setHover(QPoint cell);
    CMapCanvasPicture::Scene scene() const;
    void wheelStep();

    CMapEditor& m_editor;
    CZoomView* m_view = nullptr;
    CDisplayBuffer m_picture;
    // Made while painting, which the scene of a const canvas serves.
    mutable CMapZoomedOutPicture m_zoomedOut;
    Drag m_drag = Drag::None;
    QPoint m_lastPixel;
    QPoint m_lastCell;
    QPoint m_strokeStart;
    QPoint m_hoverCell{-1, -1};
    QRect m_hover;
    QPoint m_bandStart;
    QPoint m_bandEnd;
    QRect m_band;
    // Pixels still to scroll at each coming wheel move.
    std::deque<double> m_wheelMoves;
    QTimer m_wheel;
};
