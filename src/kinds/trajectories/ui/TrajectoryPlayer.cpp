#include "kinds/trajectories/ui/TrajectoryPlayer.h"

#include "app/CGuiColors.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/trajectories/TrajectoryPlayerGeometry.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {
// Points far outside any window are pinned well outside it, so that the
// painter never sees coordinates it cannot hold.
constexpr double kFarAway = 1.0e7;

int pixel(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::round(std::clamp(value, -kFarAway, kFarAway)));
}

int truncated(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kFarAway, kFarAway));
}

QPolygon shiftedPolygon(const Trajectory& trajectory, QPoint shift)
{
    QPolygon polygon;
    polygon.reserve(trajectory.GetPointCount());
    for (const TrajectoryPoint& p : trajectory.points())
        polygon << QPoint(pixel(p.x) + shift.x(), pixel(p.y) + shift.y());
    return polygon;
}

void drawAxes(QPainter& painter, QSize size, QPoint through, const QColor& color)
{
    painter.setPen(color);
    painter.drawLine(through.x(), 0, through.x(), size.height());
    painter.drawLine(0, through.y(), size.width(), through.y());
}
} // namespace

TrajectoryPlayer::TrajectoryPlayer(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(120, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Trajectory* TrajectoryPlayer::current() const
{
    return m_holder ? dynamic_cast<Trajectory*>(m_holder->get(GroupTrajectories, m_index)) : nullptr;
}

void TrajectoryPlayer::load(int index)
{
    m_index = index;
    TrajectoryPlayerGeometry::loadClock(m_clock, current());
    update();
}

void TrajectoryPlayer::setOrigin(QPoint origin)
{
    m_origin = origin;
    update();
}

void TrajectoryPlayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render(painter, size());
}

void TrajectoryPlayer::render(QPainter& painter, QSize size) const
{
    const CGuiColors& colors = CGuiColors::instance();
    const QColor face = colors.qcolor(CGuiColors::DialogFace);
    const QColor text = colors.qcolor(CGuiColors::DialogText);
    const QColor spotted = colors.qcolor(CGuiColors::DialogSpottedFace);
    painter.fillRect(QRect(QPoint(0, 0), size), face);

    const Trajectory* trajectory = current();
    if (!trajectory) {
        drawAxes(painter, size, QPoint(-m_origin.x() - 1, -m_origin.y() - 1), text);
        return;
    }
    // Where world (0, 0) lands in the window.
    const QPoint zero(-m_origin.x(), -m_origin.y());
    const double position = m_clock.GetPosition();
    const QPoint object(truncated(trajectory->XAt(position)), truncated(trajectory->YAt(position)));

    if (trajectory->GetType() == TrajectorySimplePoints)
        painter.fillRect(QRect(object + zero - QPoint(10, 10), QSize(20, 20)), spotted);

    drawAxes(painter, size, zero - QPoint(1, 1), text);

    const QPoint shift = zero + QPoint(trajectory->GetOffsetX(), trajectory->GetOffsetY());
    const QPolygon path = shiftedPolygon(*trajectory, shift);
    painter.setPen(Qt::black);
    switch (trajectory->GetType()) {
    case TrajectoryPolygonToRegion:
        painter.setBrush(text);
        painter.drawPolygon(path, Qt::OddEvenFill);
        break;
    case TrajectoryCollisionTest: {
        painter.setBrush(spotted);
        painter.drawPolygon(path, Qt::OddEvenFill);
        painter.setPen(spotted);
        for (const QPoint& p : path) {
            painter.drawPoint(p);
            painter.drawPoint(p + QPoint(1, 0));
            painter.drawPoint(p + QPoint(-1, 0));
            painter.drawPoint(p + QPoint(0, 1));
            painter.drawPoint(p + QPoint(0, -1));
        }
        const TrajectoryPoint mass = trajectory->GetCenterOfMass();
        const QPoint center(pixel(mass.x) + shift.x(), pixel(mass.y) + shift.y());
        const QRect box(center - QPoint(5, 5), center + QPoint(4, 4));
        const QColor dark = QColor(spotted.red() / 2, spotted.green() / 2, spotted.blue() / 2);
        painter.setPen(spotted);
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(dark);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
        painter.fillRect(box.adjusted(1, 1, -1, -1), spotted);
        break;
    }
    default: {
        painter.setBrush(Qt::NoBrush);
        if (path.size() > 1)
            painter.drawPolyline(path);
        for (qsizetype i = 0; i < path.size(); ++i) {
            const QRect square(path[i] - QPoint(2, 2), QSize(5, 5));
            painter.drawRect(square.adjusted(0, 0, -1, -1));
            if (i == path.size() - 1)
                painter.fillRect(square, QColor(255, 0, 0));
            else if (i == 0)
                painter.fillRect(square, QColor(0, 255, 0));
        }
        break;
    }
    }

    painter.setPen(text);
    painter.setBrush(Qt::NoBrush);
    const QString caption = QStringLiteral("%1\n%2 / %3")
                                .arg(QString::fromStdString(trajectory->id()))
                                .arg(position, 0, 'f', 3)
                                .arg(trajectory->GetPointCount());
    painter.drawText(QRect(QPoint(6, 6), size - QSize(12, 12)), Qt::AlignLeft | Qt::AlignTop, caption);
}
