#pragma once

#include "grid/CZoomScrollAxis.h"

#include <QWidget>

#include <array>

class QAbstractButton;

// A zoom-and-scroll bar: a scroll bar for one axis of a picture view with a
// tool bar of its own (fit, 1:1, zoom by dragging, zoom in, zoom out, move by
// dragging, and page and step buttons that repeat while held). The numbers
// live in the axis; the bar draws them and forwards the user's presses, then
// tells its owner with scrolled() or zoomed().
//
// In the normal layout the ten controls come first and the track follows;
// in the compact layout the track takes the whole bar and the zoom controls
// and the scroll buttons sit in its two ends.
class ZoomScrollBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonSize = 16;
    static constexpr int kRepeatMs = 200;

    enum Control { FitButton, OneToOneButton, ZoomDrag, ZoomInButton, ZoomOutButton, MoveDrag,
                   PageBackButton, StepBackButton, StepForwardButton, PageForwardButton, ControlCount };

    explicit ZoomScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    Qt::Orientation orientation() const { return m_orientation; }
    CZoomScrollAxis& axis() { return m_axis; }
    const CZoomScrollAxis& axis() const { return m_axis; }
    void setCompact(bool on);

    // A command as if its button was pressed: the bar redraws and tells.
    void run(CZoomScrollAxis::Command command);
    // The last command run from the bar; a zoom drag counts as a zoom in,
    // a move drag as a step.
    CZoomScrollAxis::Command lastCommand() const { return m_last; }
    QAbstractButton* control(Control c) const { return m_controls[c]; }
    // The track's rectangle and its thumb, in the bar's pixels.
    QRect trackRect() const;
    QRect thumbRect() const;
    // The tooltip of a control for an orientation.
    static QString toolTip(Control c, Qt::Orientation orientation);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The position changed (a scroll), or the zoom (a zoom).
    void scrolled();
    void zoomed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void tell(CZoomScrollAxis::Notice notice);
    void layoutControls();
    int along(const QPoint& p) const { return m_orientation == Qt::Horizontal ? p.x() : p.y(); }
    int length() const { return m_orientation == Qt::Horizontal ? width() : height(); }
    QAbstractButton* makeDrag(Control c);

    Qt::Orientation m_orientation;
    CZoomScrollAxis m_axis;
    CZoomScrollAxis::Command m_last = CZoomScrollAxis::OneToOne;
    std::array<QAbstractButton*, ControlCount> m_controls{};
    // Dragging the thumb: where it was taken, in track pixels.
    bool m_thumbDrag = false;
    double m_grab = 0.0;
};
