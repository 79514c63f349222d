#pragma once

#include "kinds/trajectories/PlayClock.h"

#include <QWidget>

class CResourceHolder;
class Trajectory;

// The view beside the trajectories grid: the current trajectory drawn over
// its axes, the first point green and the last red, with the object moving
// along the path.
class TrajectoryPlayer : public QWidget {
    Q_OBJECT
public:
    // Where world (0, 0) sits when the player opens: a little in from the
    // top-left corner, so that the axes are visible.
    static constexpr int kStartOrigin = -94;

    explicit TrajectoryPlayer(QWidget* parent = nullptr);

    void attach(CResourceHolder* holder) { m_holder = holder; }
    // Shows trajectory `index` of the group (-1: none) and restarts its clock.
    void load(int index);
    int currentIndex() const { return m_index; }
    Trajectory* current() const;

    QPoint origin() const { return m_origin; }
    void setOrigin(QPoint origin);

    const PlayClock& clock() const { return m_clock; }

    QSize sizeHint() const override { return QSize(640, 480); }

    // The picture as it is drawn into the window, into any painter.
    void render(QPainter& painter, QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CResourceHolder* m_holder = nullptr;
    int m_index = -1;
    QPoint m_origin{kStartOrigin, kStartOrigin};
    PlayClock m_clock;
};
