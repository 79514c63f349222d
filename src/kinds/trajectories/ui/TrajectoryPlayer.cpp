#include "kinds/trajectories/ui/TrajectoryPlayer.h"

#include "params/ui/CGuiColors.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/trajectories/TrajectoryPlayerGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {
// Points far outside any window are pinned well outside it, so that the
// painter never sees coordinates it cannot hold.
constexpr double kFarAway = 1.0e7;

// Rounded half away from zero.
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

// The window pixel where a world point is drawn.
QPoint windowPixel(const QTransform& toWindow, double x, double y)
{
    const QPointF at = toWindow.map(QPointF(x, y));
    return QPoint(pixel(at.x()), pixel(at.y()));
}

QPolygon windowPolygon(const Trajectory& trajectory, const QTransform& toWindow)
{
    const double offsetX = trajectory.GetOffsetX();
    const double offsetY = trajectory.GetOffsetY();
    QPolygon polygon;
    polygon.reserve(trajectory.GetPointCount());
    for (const TrajectoryPoint& p : trajectory.points())
        polygon << windowPixel(toWindow, p.x + offsetX, p.y + offsetY);
    return polygon;
}

void drawAxes(QPainter& painter, QSize size, QPoint through, const QColor& color)
{
    painter.setPen(color);
    painter.drawLine(through.x(), 0, through.x(), size.height());
    painter.drawLine(0, through.y(), size.width(), through.y());
}

void drawSquare(QPainter& painter, QPoint center, const QColor* fill)
{
    const QRect square(center - QPoint(2, 2), QSize(5, 5));
    if (fill)
        painter.fillRect(square, *fill);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square.adjusted(0, 0, -1, -1));
}

const CBitmapItem* bitmapAt(const CResourceHolder* holder, int indexPlusOne)
{
    if (!holder || indexPlusOne <= 0)
        return nullptr;
    return dynamic_cast<const CBitmapItem*>(holder->get(GroupBitmaps, indexPlusOne - 1));
}
} // namespace

TrajectoryPlayer::TrajectoryPlayer(QWidget* parent) : QWidget(parent), m_view(new CZoomView(this, parent))
{
    setMinimumSize(120, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A path has no bounds the view could keep to while it is drawn: the
    // bars scroll freely about what the window shows at zoom 1.
    m_view->setContentFollowsCanvas(true);
    m_view->setFitSource([this] { return QRectF(pathBounds()); });
    setOrigin(QPoint(kStartOrigin, kStartOrigin));
    updateMode();
}

void TrajectoryPlayer::attach(CResourceHolder* holder)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_holder = holder;
}

int TrajectoryPlayer::currentIndex() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_index;
}

Trajectory* TrajectoryPlayer::current() const
{
    return m_holder ? dynamic_cast<Trajectory*>(m_holder->get(GroupTrajectories, currentIndex())) : nullptr;
}

QRect TrajectoryPlayer::pathBounds() const
{
    Trajectory* trajectory = current();
    QRect bounds(QPoint(-8, -8), QSize(16, 16));
    if (trajectory && trajectory->GetPointCount() > 0) {
        trajectory->UpdateBounds();
        // Drawn shifted by its offset, as the player draws it.
        const QRectF path(QPointF(trajectory->GetMinX() + trajectory->GetOffsetX(),
                                  trajectory->GetMinY() + trajectory->GetOffsetY()),
                          QPointF(trajectory->GetMaxX() + trajectory->GetOffsetX() + 1,
                                  trajectory->GetMaxY() + trajectory->GetOffsetY() + 1));
        bounds = path.toAlignedRect();
    }
    if (const CBitmapItem* background = bitmapAt(m_holder, m_backgroundBitmap))
        bounds |= QRect(0, 0, background->actualWidth(), background->actualHeight());
    return bounds;
}

void TrajectoryPlayer::load(int index)
{
    const bool another = index != currentIndex();
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_index = index;
        const Trajectory* trajectory =
            m_holder ? dynamic_cast<const Trajectory*>(m_holder->get(GroupTrajectories, index)) : nullptr;
        TrajectoryPlayerGeometry::loadClock(m_clock, trajectory);
        m_loaded = trajectory;
    }
    // Another path opens whole.
    if (another)
        m_view->fitWhenSized();
    update();
}

PlayClock TrajectoryPlayer::clock() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_clock;
}

double TrajectoryPlayer::speed() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_speed;
}

void TrajectoryPlayer::setSpeed(double speed)
{
    if (std::isnan(speed))
        return;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_speed = std::clamp(speed, -kSpeedLimit, kSpeedLimit);
}

bool TrajectoryPlayer::step()
{
    if (m_paused.load())
        return false;
    std::lock_guard<std::mutex> guard(m_mutex);
    const Trajectory* trajectory =
        m_holder ? dynamic_cast<const Trajectory*>(m_holder->get(GroupTrajectories, m_index)) : nullptr;
    const double pathSpeed = trajectory ? trajectory->GetPlaySpeed() : 1.0;
    return m_clock.Advance(pathSpeed * m_speed) != 0;
}

QPoint TrajectoryPlayer::origin() const
{
    const QPointF position = m_view->position();
    return QPoint(pixel(position.x()), pixel(position.y()));
}

void TrajectoryPlayer::setOrigin(QPoint origin)
{
    m_view->scrollTo(origin);
}

void TrajectoryPlayer::centreTrajectory()
{
    // The window shows size / zoom world units.
    const double zoom = m_view->zoomX();
    const QSize shown(truncated(width() / zoom), truncated(height() / zoom));
    if (Trajectory* trajectory = current())
        setOrigin(TrajectoryPlayerGeometry::centredOrigin(*trajectory, shown));
}

void TrajectoryPlayer::setCentreOnObject(bool on)
{
    m_centreOnObject = on;
    updateMode();
}

void TrajectoryPlayer::setHideTrajectory(bool on)
{
    m_hideTrajectory = on;
    updateMode();
}

void TrajectoryPlayer::updateMode()
{
    m_mode = m_centreOnObject || m_hideTrajectory ? PanMode : DrawMode;
    setCursor(m_mode == PanMode ? Qt::SizeAllCursor : Qt::ArrowCursor);
    update();
}

void TrajectoryPlayer::setObjectBitmap(int indexPlusOne)
{
    m_objectBitmap = std::max(indexPlusOne, 0);
    load(currentIndex());
}

void TrajectoryPlayer::setBackgroundBitmap(int indexPlusOne)
{
    m_backgroundBitmap = std::max(indexPlusOne, 0);
    load(currentIndex());
}

// --- mouse -----------------------------------------------------------------

void TrajectoryPlayer::addPointUnder(QPoint position)
{
    Trajectory* trajectory = current();
    if (!trajectory)
        return;
    // Zoomed in, the pixels of one world unit add one point, not one each.
    const QPointF point = TrajectoryPlayerGeometry::pointUnderPointer(m_view->toContent(position),
                                                                      trajectory->GetOffsetX(), trajectory->GetOffsetY());
    bool added = false;
    {
        // Game steps read the trajectory's speed and the clock only; the
        // clock's end follows the new last point.
        std::lock_guard<std::mutex> guard(m_mutex);
        added = TrajectoryPlayerGeometry::appendPoint(*trajectory, point);
        if (added)
            m_clock.SetEnd(TrajectoryPlayerGeometry::lastPointIndex(trajectory));
    }
    if (!added)
        return;
    update();
    if (m_pointsAdded)
        m_pointsAdded();
}

void TrajectoryPlayer::press(QPoint position)
{
    m_dragging = true;
    m_lastMouse = position;
    if (m_mode == DrawMode) {
        m_stroke.begin(QString::fromLatin1(kStrokeText));
        addPointUnder(position);
    }
}

void TrajectoryPlayer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press(event->position().toPoint());
}

void TrajectoryPlayer::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPoint position = event->position().toPoint();
    if (m_mode == PanMode) {
        // The picture follows the pointer.
        m_view->scrollByPixels(position - m_lastMouse);
    } else {
        addPointUnder(position);
    }
    m_lastMouse = position;
}

void TrajectoryPlayer::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_stroke.end();
    }
}

void TrajectoryPlayer::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The second press of a double-click has already started a drag; the
    // double-click ends it in pan mode.
    if (m_mode == PanMode) {
        m_dragging = false;
        setOrigin(QPoint(0, 0));
    } else {
        press(event->position().toPoint());
    }
}

void TrajectoryPlayer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_paused = false;
}

void TrajectoryPlayer::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_paused = true;
}

// --- drawing ---------------------------------------------------------------

void TrajectoryPlayer::paintEvent(QPaintEvent*)
{
    m_frameRate.tick();
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
        drawAxes(painter, size, windowPixel(m_view->transform(), 0, 0) - QPoint(1, 1), text);
        return;
    }
    const double position = clock().GetPosition();
    const QPoint object(truncated(trajectory->XAt(position)), truncated(trajectory->YAt(position)));
    const double zoom = m_view->zoomX();
    QTransform toWindow = m_view->transform();
    if (m_mode == PanMode && m_centreOnObject && trajectory->GetPointCount() > 0) {
        const QPoint zero = TrajectoryPlayerGeometry::screenZeroForObject(
            QPoint(truncated(object.x() * zoom), truncated(object.y() * zoom)), size);
        toWindow = QTransform(zoom, 0, 0, zoom, zero.x(), zero.y());
    }

    // The bitmaps and the object's square are world things: they scale.
    painter.setTransform(toWindow);
    if (const CBitmapItem* background = bitmapAt(m_holder, m_backgroundBitmap))
        background->draw(painter, 0, 0);
    if (const CBitmapItem* picture = bitmapAt(m_holder, m_objectBitmap))
        picture->draw(painter, object.x(), object.y());
    else if (trajectory->GetType() == TrajectorySimplePoints)
        painter.fillRect(QRect(object - QPoint(10, 10), QSize(20, 20)), spotted);
    painter.resetTransform();

    // Axes, path and markers keep their pixel size at any zoom.
    drawAxes(painter, size, windowPixel(toWindow, 0, 0) - QPoint(1, 1), text);

    const QPolygon path = windowPolygon(*trajectory, toWindow);
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
        const QPoint center =
            windowPixel(toWindow, mass.x + trajectory->GetOffsetX(), mass.y + trajectory->GetOffsetY());
        const QRect box(center - QPoint(5, 5), center + QPoint(4, 4));
        const QColor dark(spotted.red() / 2, spotted.green() / 2, spotted.blue() / 2);
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
        const QColor green(0, 255, 0);
        const QColor red(255, 0, 0);
        if (m_hideTrajectory && m_mode == PanMode) {
            if (!path.isEmpty()) {
                drawSquare(painter, path.first(), &green);
                drawSquare(painter, path.last(), &red);
            }
            break;
        }
        painter.setBrush(Qt::NoBrush);
        if (path.size() > 1)
            painter.drawPolyline(path);
        for (qsizetype i = 0; i < path.size(); ++i)
            drawSquare(painter, path[i], i == path.size() - 1 ? &red : i == 0 ? &green : nullptr);
        break;
    }
    }

    painter.setPen(text);
    painter.setBrush(Qt::NoBrush);
    const QString caption =
        QStringLiteral("%1\n%2\n%3 / %4")
            .arg(QString::fromStdString(trajectory->id()), QString::fromStdString(m_frameRate.text()))
            .arg(position, 0, 'f', 3)
            .arg(trajectory->GetPointCount());
    painter.drawText(QRect(QPoint(6, 6), size - QSize(12, 12)), Qt::AlignLeft | Qt::AlignTop, caption);
}
