#include "kinds/worlds/ui/CWorldPreview.h"

#include "params/ui/CGuiColors.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"

#include <QMouseEvent>
#include <QPainter>

CWorldPreview::CWorldPreview(IWorldPreviewHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    setMinimumSize(64, 64);
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
    painter.setPen(text);
    painter.drawLine(0, m_offset.y(), width(), m_offset.y());
    painter.drawLine(m_offset.x(), 0, m_offset.x(), height());
    m_frameRate.tick();
    m_host.withPreviewInstance(
        [&](const WorldInstance& instance) { instance.draw(painter, m_offset.x(), m_offset.y(), rect()); });
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

void CWorldPreview::mousePressEvent(QMouseEvent* event)
{
    m_last = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier)))
        m_host.beginOffsetsDrag();
}

void CWorldPreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_host.endOffsetsDrag();
}

void CWorldPreview::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    const QPoint delta = at - m_last;
    m_last = at;
    const std::vector<int> rows = targetRows(event->modifiers());
    if (event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier))
        m_host.moveElementOffsets(rows, delta, false);
    else
        m_offset += delta;
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
