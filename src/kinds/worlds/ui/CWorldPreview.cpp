#include "kinds/worlds/ui/CWorldPreview.h"

#include "params/ui/CGuiColors.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"

#include "grid/CCellGridLines.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QResizeEvent>
#include <QSettings>
#include <QToolButton>

#include <algorithm>

CWorldPreview::CWorldPreview(IWorldPreviewHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_view(new CZoomView(this, parent)), m_followButton(new QToolButton(this))
{
    setMinimumSize(64, 64);
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

void CWorldPreview::paintEvent(QPaintEvent*)
{
    const CGuiColors& colors = CGuiColors::instance();
    const QColor face = CGuiColors::toQColor(colors.dialogFace().rgb);
    const QColor text = CGuiColors::toQColor(colors.dialogText().rgb);
    QPainter painter(this);
    painter.fillRect(rect(), face);
    painter.setTransform(m_view->transform());
    const QRect visible = m_view->transform().inverted().mapRect(QRectF(rect())).toAlignedRect();
    painter.setPen(QPen(text, 0));
    painter.drawLine(visible.left(), m_offset.y(), visible.right(), m_offset.y());
    painter.drawLine(m_offset.x(), visible.top(), m_offset.x(), visible.bottom());
    m_frameRate.tick();
    m_host.withPreviewInstance(
        [&](const WorldInstance& instance) { instance.draw(painter, m_offset.x(), m_offset.y(), visible); });
    // The selected elements framed, so the grid's selection shows here too.
    QPen frame(CGuiColors::instance().qcolor(CGuiColors::FocusedArea), 0);
    frame.setCosmetic(true);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    const std::vector<int> selected = m_host.selectedElementRows();
    if (!selected.empty())
        m_host.withPreviewInstance([&](const WorldInstance& instance) {
            for (const WorldInstance::Placed& placed : instance.placedElements(m_offset.x(), m_offset.y()))
                if (std::find(selected.begin(), selected.end(), placed.element) != selected.end())
                    painter.drawRect(QRectF(placed.rect).adjusted(-0.5, -0.5, 0.5, 0.5));
        });
    painter.resetTransform();
    if (m_view->gridShown()) {
        // Cells counted from the drawing point, where the world's (0, 0) is.
        const QTransform fromWorld = QTransform::fromTranslate(m_offset.x(), m_offset.y()) * m_view->transform();
        const std::vector<QLineF> lines =
            CCellGridLines::lines(QSizeF(kGridCell, kGridCell), QRectF(), fromWorld, size());
        QColor line = text;
        line.setAlpha(60);
        painter.setPen(QPen(line, 0));
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
    painter.setPen(text);
    painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignLeft | Qt::AlignTop, caption());
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
