#include "kinds/worlds/ui/CWorldPreview.h"

#include "params/ui/CGuiColors.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"

#include "grid/CCellGridLines.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPicture>
#include <QResizeEvent>
#include <QSettings>
#include <QToolButton>

#include <algorithm>
#include <cmath>

CWorldPreview::CWorldPreview(IWorldPreviewHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_view(new CZoomView(this, parent)), m_followButton(new QToolButton(this))
{
    setMinimumSize(64, 64);
    // Every pixel is painted here: nothing behind the preview is painted
    // first, at each step, for nothing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A world has no bounds of its own: the bars scroll freely about what
    // the window shows at zoom 1.
    m_view->setContentFollowsCanvas(true);
    m_view->setFitSource([this] { return QRectF(fitBounds()); });
    m_followPaths = QSettings().value(QStringLiteral("Settings/") + kFollowPathsSetting, false).toBool();
    m_followButton->setObjectName(QStringLiteral("followPaths"));
    m_followButton->setText(tr("Paths"));
    m_followButton->setToolTip(tr("Fit takes in where the elements go along their paths, not only where they are now"));
    m_followButton->setCheckable(true);
    m_followButton->setChecked(m_followPaths);
    connect(m_followButton, &QToolButton::toggled, this, &CWorldPreview::setFollowsPaths);
    m_view->offerGrid(QString::fromLatin1(kGridSetting));
}

QRect CWorldPreview::drawnBounds() const
{
    // What the world draws now, recorded rather than painted: the same
    // drawing as the window's, so the bounds cannot disagree with it.
    QPicture picture;
    {
        QPainter painter(&picture);
        const QRect everywhere(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);
        m_host.withPreviewInstance(
            [&](const WorldInstance& instance) { instance.draw(painter, m_offset.x(), m_offset.y(), everywhere); });
    }
    // The drawing point belongs to the picture too: an empty world fits
    // about its axes.
    return picture.boundingRect().united(QRect(m_offset - QPoint(16, 16), QSize(32, 32)));
}

QRect CWorldPreview::fitBounds() const
{
    const QRect drawn = drawnBounds();
    return m_followPaths ? drawn.united(m_host.pathBounds(m_offset)) : drawn;
}

void CWorldPreview::setFollowsPaths(bool on)
{
    if (m_followButton->isChecked() != on)
        m_followButton->setChecked(on);
    if (on == m_followPaths)
        return;
    m_followPaths = on;
    QSettings().setValue(QStringLiteral("Settings/") + kFollowPathsSetting, on);
    m_view->fit();
}

void CWorldPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Top right, clear of the caption written top left.
    m_followButton->adjustSize();
    m_followButton->move(width() - m_followButton->width() - 4, 4);
}

void CWorldPreview::setDrawingOffset(QPoint offset)
{
    m_offset = offset;
    update();
}

CWorldFrame CWorldPreview::takeFrame()
{
    CWorldFrame now;
    m_host.withPreviewInstance(
        [&](const WorldInstance& instance) { now = CWorldFrame(instance, m_offset.x(), m_offset.y()); });
    m_still = now.sharedBottom(m_frame);
    std::swap(now, m_frame);
    return now;
}

namespace {
qint64 area(const QRect& r) { return qint64(r.width()) * r.height(); }

// Rectangles that mostly overlap (a picture's old and new places) merged
// into their union until none do: fewer rectangles to copy and to send to
// the screen, never a union much larger than what it covers.
QRegion merged(std::vector<QRect> rects)
{
    for (bool again = true; again;) {
        again = false;
        for (std::size_t i = 0; i < rects.size() && !again; ++i)
            for (std::size_t j = i + 1; j < rects.size() && !again; ++j)
                if (rects[i].intersects(rects[j]) && area(rects[i] | rects[j]) <= area(rects[i]) + area(rects[j])) {
                    rects[i] |= rects[j];
                    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
                    again = true;
                }
    }
    QRegion region;
    for (const QRect& r : rects)
        region += r;
    return region;
}
} // namespace

QRegion CWorldPreview::showStep()
{
    const CWorldFrame before = takeFrame();
    const QTransform view = m_view->transform();
    // The caption's figures may grow by a digit or two.
    std::vector<QRect> rects{m_captionShown.adjusted(-1, -1, m_caption.growth() + 1, 1)};
    // Pictures placed between pixels, tiles moved by their offsets and the
    // frames of selected elements reach a little beyond the areas.
    for (const QRect& area : m_frame.changedAreas(before))
        rects.push_back(view.mapRect(QRectF(area.adjusted(-1, -1, 1, 1))).toAlignedRect().adjusted(-2, -2, 2, 2) &
                        rect());
    const QRegion repaint = merged(std::move(rects));
    update(repaint);
    return repaint;
}

void CWorldPreview::paintUnderWorld(QPainter& painter, const QTransform& view, const QRect& visible) const
{
    const CGuiColors& colors = CGuiColors::instance();
    painter.fillRect(rect(), CGuiColors::toQColor(colors.dialogFace().rgb));
    painter.setTransform(view);
    painter.setPen(QPen(CGuiColors::toQColor(colors.dialogText().rgb), 0));
    painter.drawLine(visible.left(), m_offset.y(), visible.right(), m_offset.y());
    painter.drawLine(m_offset.x(), visible.top(), m_offset.x(), visible.bottom());
}

void CWorldPreview::paintEvent(QPaintEvent* event)
{
    // A repaint of the whole window may follow anything (an edit, a zoom,
    // the window uncovered): the frame and the backdrop are taken afresh.
    if ((QRegion(rect()) - event->region()).isEmpty()) {
        takeFrame();
        m_backdrop.clear();
        m_grid = QImage();
    }
    const QColor text = CGuiColors::toQColor(CGuiColors::instance().dialogText().rgb);
    const QTransform view = m_view->transform();
    const QTransform toWorld = view.inverted();
    const QRect visible = toWorld.mapRect(QRectF(rect())).toAlignedRect();
    QPainter painter(this);
    m_frameRate.tick();
    const std::vector<CWorldFrame::Layer>& layers = m_frame.layers();
    m_host.withPreviewInstance([&](const WorldInstance& instance) {
        const QImage& backdrop = m_backdrop.picture(
            m_frame, m_still, size(), devicePixelRatioF(), view,
            [&](QPainter& under, const CWorldFrame& frame, std::size_t count) {
                paintUnderWorld(under, view, visible);
                for (std::size_t k = 0; k < count; ++k)
                    instance.drawLayer(under, frame.layers()[k].item, visible);
            });
        const qreal ratio = backdrop.devicePixelRatio();
        // Rectangle by rectangle, each the painter's clip: a picture scaled
        // through a clip of one rectangle takes the same pixels whatever the
        // rectangle, as in a whole repaint (through a clip of many it takes
        // others), and each copy stays small enough to be done here rather
        // than shared out among threads.
        for (const QRect& r : event->region()) {
            painter.resetTransform();
            painter.setClipRect(r);
            painter.drawImage(QRectF(r), backdrop, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
            // Pictures elsewhere are left as they are.
            const QRect repainted = toWorld.mapRect(QRectF(r)).toAlignedRect().adjusted(-1, -1, 1, 1) & visible;
            painter.setTransform(view);
            for (std::size_t k = m_backdrop.layerCount(); k < layers.size(); ++k)
                if (layers[k].area.intersects(repainted))
                    instance.drawLayer(painter, layers[k].item, repainted);
        }
    });
    painter.setClipping(false);
    // The selected elements framed, so the grid's selection shows here too.
    QPen frame(CGuiColors::instance().qcolor(CGuiColors::FocusedArea), 0);
    frame.setCosmetic(true);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    const std::vector<int> selected = m_host.selectedElementRows();
    for (const CWorldFrame::Layer& layer : layers)
        if (layer.item.world == m_frame.worldIndex() && !layer.area.isEmpty() &&
            std::find(selected.begin(), selected.end(), layer.item.element) != selected.end())
            painter.drawRect(QRectF(layer.area).adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.resetTransform();
    if (m_view->gridShown()) {
        const QImage& grid = gridPicture(view, text);
        // Copied like the backdrop: lines drawn afresh through the window's
        // height would each be shared out among threads, at every step.
        for (const QRect& r : event->region()) {
            painter.setClipRect(r);
            painter.drawImage(QRectF(r), grid, QRectF(QPointF(r.topLeft()) * grid.devicePixelRatio(),
                                                      QSizeF(r.size()) * grid.devicePixelRatio()));
        }
        painter.setClipping(false);
    }
    painter.setPen(text);
    m_captionShown = m_caption.write(painter, 4, 4, caption());
}

const QImage& CWorldPreview::gridPicture(const QTransform& view, const QColor& text)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_grid.isNull() && m_gridView == view && m_grid.devicePixelRatio() == ratio &&
        m_grid.size() == (QSizeF(size()) * ratio).toSize())
        return m_grid;
    m_gridView = view;
    m_grid = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    m_grid.setDevicePixelRatio(ratio);
    m_grid.fill(Qt::transparent);
    if (m_grid.isNull())
        return m_grid;
    // Cells counted from the drawing point, where the world's (0, 0) is.
    const QTransform fromWorld = QTransform::fromTranslate(m_offset.x(), m_offset.y()) * view;
    const std::vector<QLineF> lines = CCellGridLines::lines(QSizeF(kGridCell, kGridCell), QRectF(), fromWorld, size());
    QColor line = text;
    line.setAlpha(60);
    QPainter painter(&m_grid);
    painter.setPen(QPen(line, 0));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    return m_grid;
}

QString CWorldPreview::caption() const
{
    QString caption;
    m_host.withPreviewInstance([&](const WorldInstance& instance) {
        caption = QString::asprintf("%.2f\n", instance.elapsed()) + QString::fromStdString(m_frameRate.text());
        if (const GameWorld* world = instance.world())
            caption += QLatin1Char('\n') + QString::fromStdString(world->id());
    });
    return caption;
}

std::vector<int> CWorldPreview::targetRows(Qt::KeyboardModifiers modifiers) const
{
    if (modifiers & Qt::AltModifier) {
        const int row = m_host.currentElementRow();
        return row >= 0 ? std::vector<int>{row} : std::vector<int>{};
    }
    if (modifiers & Qt::ShiftModifier)
        return m_host.selectedElementRows();
    return {};
}

int CWorldPreview::elementUnder(QPointF pixel) const
{
    const QPoint at = m_view->toContent(pixel).toPoint();
    int row = -1;
    m_host.withPreviewInstance(
        [&](const WorldInstance& instance) { row = instance.elementAt(m_offset.x(), m_offset.y(), at); });
    return row;
}

void CWorldPreview::mousePressEvent(QMouseEvent* event)
{
    m_drag.start(event->position().toPoint());
    m_dragged = -1;
    if (event->button() != Qt::LeftButton)
        return;
    if (event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier)) {
        m_dragStep.begin(QString::fromLatin1(kMoveText));
        return;
    }
    // A plain press on an element picks it; the drag that follows moves it.
    m_dragged = elementUnder(event->position());
    if (m_dragged >= 0) {
        m_host.selectElementRow(m_dragged);
        m_dragStep.begin(QString::fromLatin1(kMoveText));
        update();
    }
}

void CWorldPreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragStep.end();
        m_dragged = -1;
    }
}

void CWorldPreview::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    // In world units: at a zoom of 2 the mouse moves twice as far.
    const QPoint delta = m_drag.moveTo(event->position().toPoint(), m_view);
    if (delta.isNull())
        return;
    const std::vector<int> rows = targetRows(event->modifiers());
    if (event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier))
        m_host.moveElementOffsets(rows, delta, false);
    else if (m_dragged >= 0)
        m_host.moveElementOffsets({m_dragged}, delta, false);
    else
        m_offset += delta;
    update();
}

void CWorldPreview::keyPressEvent(QKeyEvent* event)
{
    const std::vector<int> rows = m_host.selectedElementRows();
    const int step = event->modifiers() & Qt::ShiftModifier ? kNudgeFar : 1;
    QPoint delta;
    switch (event->key()) {
    case Qt::Key_Left: delta = {-step, 0}; break;
    case Qt::Key_Right: delta = {step, 0}; break;
    case Qt::Key_Up: delta = {0, -step}; break;
    case Qt::Key_Down: delta = {0, step}; break;
    case Qt::Key_Delete:
        if (!rows.empty())
            m_host.deleteElementRows(rows);
        update();
        return;
    default: QWidget::keyPressEvent(event); return;
    }
    if (rows.empty())
        return;
    m_host.moveElementOffsets(rows, delta, false);
    update();
}

void CWorldPreview::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier))
        m_host.moveElementOffsets(targetRows(event->modifiers()), {}, true);
    else
        m_offset = {0, 0};
    update();
}
