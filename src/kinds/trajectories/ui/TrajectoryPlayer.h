#pragma once

#include "grid/ui/CGestureStep.h"
#include "grid/ui/CZoomView.h"
#include "kinds/trajectories/PlayClock.h"
#include "media/image/CFrameRateMeter.h"

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class CResourceHolder;
class Trajectory;

// The view beside the trajectories grid: the current trajectory drawn over
// its axes (the first point green, the last red) with an object moving
// along the path on the game step clock. In draw mode the mouse appends
// points to the path; in pan mode it moves the view. The zoom and the part
// of the world shown are the zoom-and-scroll bars' that frame the player.
//
// Game steps arrive on the timer thread: the clock, the trajectory shown
// and the player speed are guarded; everything else is the interface
// thread's.
class TrajectoryPlayer : public QWidget {
    Q_OBJECT
public:
    enum InteractionMode : int { PanMode = 1, DrawMode = 4 };
    // Where world (0, 0) sits when the player opens: a little in from the
    // top-left corner, so that the axes are visible.
    static constexpr int kStartOrigin = -94;
    // The player's own speed factor stays within these bounds.
    static constexpr double kSpeedLimit = 100.0;

    explicit TrajectoryPlayer(QWidget* parent = nullptr);

    // The frame with the zoom-and-scroll bars, which owns the player.
    CZoomView* view() const { return m_view; }

    void attach(CResourceHolder* holder);
    CResourceHolder* holder() const { return m_holder; }
    // Shows trajectory `index` of the group (-1: none) and restarts its clock.
    void load(int index);
    int currentIndex() const;
    Trajectory* current() const;
    // The record the clock was set up for, to tell when the row now holds
    // another one.
    const Trajectory* loaded() const { return m_loaded; }

    // The world point drawn at the window's top-left corner (rounded).
    QPoint origin() const;
    void setOrigin(QPoint origin);
    // The current path's bounds as drawn (with its offset) and the
    // background picture: what Fit shows.
    QRect pathBounds() const;
    // Puts the bounds of the current trajectory in the middle of the view.
    void centreTrajectory();

    bool centreOnObject() const { return m_centreOnObject; }
    void setCentreOnObject(bool on);
    bool hideTrajectory() const { return m_hideTrajectory; }
    void setHideTrajectory(bool on);
    // Pan mode while either of the two is on, draw mode otherwise.
    int interactionMode() const { return m_mode; }

    double speed() const;
    void setSpeed(double speed);

    bool isPaused() const { return m_paused.load(); }
    void setPaused(bool paused) { m_paused = paused; }

    // Bitmap rows plus one, 0 for none.
    int objectBitmap() const { return m_objectBitmap; }
    void setObjectBitmap(int indexPlusOne);
    int backgroundBitmap() const { return m_backgroundBitmap; }
    void setBackgroundBitmap(int indexPlusOne);

    // One game step: moves the object by the trajectory's speed times the
    // player's. True when the clock moved.
    bool step();
    // A copy of the clock as it stands.
    PlayClock clock() const;

    // Called after the mouse added points to the current trajectory.
    void setPointsAddedCallback(std::function<void()> callback) { m_pointsAdded = std::move(callback); }
    // A drawing stroke, from the press of the button to its release, is one
    // step of the undo history; the panel tells how it is opened.
    CGestureStep& strokeStep() { return m_stroke; }
    static constexpr const char* kStrokeText = "Draw Trajectory Points";

    QSize sizeHint() const override { return QSize(640, 480); }

    // The picture as it is drawn into the window, into any painter.
    void render(QPainter& painter, QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateMode();
    // World units to window pixels, as drawn now: following the object
    // when the view centres on it, the bars' view otherwise.
    QTransform worldToWindow(const Trajectory* trajectory, QSize size) const;
    void press(QPoint position);
    void addPointUnder(QPoint position);

    CResourceHolder* m_holder = nullptr;
    mutable std::mutex m_mutex; // m_index, m_clock, m_speed
    int m_index = -1;
    const Trajectory* m_loaded = nullptr;
    PlayClock m_clock;
    double m_speed = 1.0;
    std::atomic<bool> m_paused{false};

    CZoomView* m_view;
    int m_mode = DrawMode;
    bool m_centreOnObject = false;
    bool m_hideTrajectory = false;
    int m_objectBitmap = 0;
    int m_backgroundBitmap = 0;
    bool m_dragging = false;
    QPoint m_lastMouse;
    CFrameRateMeter m_frameRate;
    std::function<void()> m_pointsAdded;
    CGestureStep m_stroke;
};
