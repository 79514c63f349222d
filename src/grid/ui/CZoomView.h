#pragma once

#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <QString>
#include <QWidget>

#include <functional>

class QToolButton;
class ZoomScrollBar;

// Frames a canvas (a picture, a map, a preview) with two zoom-and-scroll
// bars. The canvas draws through transform() and maps the pointer with
// toContent(); Ctrl+wheel over it zooms about the pointer, the wheel scrolls
// (Shift+wheel sideways) unless the canvas takes the wheel itself. With
// the axes linked, as for pictures, a zoom on one bar zooms the other the
// same and a fit shows the whole content.
class CZoomView : public QWidget {
    Q_OBJECT
public:
    // The wheel zooms by this factor per notch.
    static constexpr double kWheelZoom = 1.3333333333333333;
    static constexpr int kStepPixels = 16;

    // The view takes the canvas over as its child.
    explicit CZoomView(QWidget* canvas, QWidget* parent = nullptr);

    QWidget* canvas() const { return m_canvas; }
    ZoomScrollBar* horizontalBar() const { return m_bars[0]; }
    ZoomScrollBar* verticalBar() const { return m_bars[1]; }

    // The content's extent in content units (picture pixels at zoom 1).
    void setContentRect(const QRectF& rect);
    QRectF contentRect() const { return m_content; }
    void setLinkedAxes(bool on) { m_linked = on; }
    void setFreeScrolling(bool on);
    // For previews without bounds of their own (a world, a trajectory): the
    // content is what the canvas shows at zoom 1, and scrolling is free.
    void setContentFollowsCanvas(bool on);

    // Content to canvas pixels, and back.
    QTransform transform() const;
    QPointF toContent(const QPointF& pixel) const;
    QPointF position() const;
    double zoomX() const;
    double zoomY() const;

    // Both axes at once, keeping the content under the canvas pixel there.
    void zoomAbout(double zoom, const QPointF& pixel);
    // Scrolls by canvas pixels: the content moves with the pointer.
    void scrollByPixels(const QPointF& delta);
    void scrollTo(const QPointF& position);
    // Scrolls as little as needed to show a rectangle of content.
    void ensureVisible(const QRectF& content);

    // --- fitting -----------------------------------------------------------
    // Fit (Ctrl+Shift+F, or a bar's Fit button) shows what the canvas says
    // it draws, whole and centred; 100 % (Ctrl+Shift+1) shows it at zoom 1.
    // A view without a source fits its content rectangle.
    static constexpr int kFitMargin = 8;
    void setFitSource(std::function<QRectF()> source) { m_fitSource = std::move(source); }
    QRectF fitContent() const;
    void fit();
    void oneToOne();
    // Fits as soon as the canvas has a size (now if it has one): views open
    // fitted to what they show.
    void fitWhenSized();
    bool fitPending() const { return m_fitPending; }

    // --- the cell grid -----------------------------------------------------
    // A toggle in the corner between the bars, for canvases that draw cell
    // lines; its state is kept in the settings under `settingKey`.
    void offerGrid(const QString& settingKey);
    bool gridShown() const { return m_gridShown; }
    void setGridShown(bool on);
    QToolButton* gridButton() const { return m_gridButton; }

signals:
    // The zoom or the position changed; the canvas has been asked to redraw.
    void viewChanged();
    void gridShownChanged(bool on);

public:
    // A drag on the canvas in content units: whole units, with what a pixel
    // at a zoom above 1 moves less than a unit kept for the next move.
    class Drag {
    public:
        void start(QPoint pixel);
        // The whole units moved since the last call.
        QPoint moveTo(QPoint pixel, const CZoomView* view);

    private:
        QPoint m_press;
        QPoint m_applied;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void barZoomed(int axis);
    void changed();
    void fitViewport();

    QWidget* m_canvas;
    ZoomScrollBar* m_bars[2];
    QRectF m_content;
    bool m_linked = true;
    bool m_followCanvas = false;
    bool m_busy = false;
    bool m_fitPending = false;
    std::function<QRectF()> m_fitSource;
    QToolButton* m_gridButton = nullptr;
    QString m_gridSetting;
    bool m_gridShown = false;
};
