#pragma once

#include "tools/analysis/CBoundCurveDrawing.h"

#include <QWidget>

#include <memory>

class CAnalysisView;
class CZoomView;

// The preview picture with the two bound curves over it: the lower one
// green, the upper one red. Dragging with the left button draws the lower
// curve, with the right button the upper one, as straight ramps between the
// points the mouse passes.
class CAnalysisPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr QRgb kLowerColor = 0xFF00FF00;
    static constexpr QRgb kUpperColor = 0xFFFF4040;

    explicit CAnalysisPicture(CAnalysisView& view, QWidget* parent = nullptr);
    ~CAnalysisPicture() override;

    QSize sizeHint() const override;
    // The frame that zooms and scrolls the picture (none: drawn 1:1).
    void setZoomView(CZoomView* view);

signals:
    void curvesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The picture's pixel under a point of the widget.
    QPoint pictureAt(const QPointF& pixel) const;

    CAnalysisView& m_view;
    CZoomView* m_zoom = nullptr;
    std::unique_ptr<CBoundCurveDrawing> m_drawing;
    Qt::MouseButton m_button = Qt::NoButton;
};
