#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"

#include "core/CResourceHolder.h"
#include "core/CStepLock.h"
#include "core/GroupIndex.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "grid/ui/CZoomView.h"
#include "params/ui/CGuiColors.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

CBitmapOffsetPane::CBitmapOffsetPane(CStepLock& lock, QWidget* parent)
    : QWidget(parent), m_lock(lock), m_view(new CZoomView(this, parent))
{
    setObjectName(QStringLiteral("bitmapOffsetPane"));
    m_view->setObjectName(QStringLiteral("bitmapPreview"));
    setCursor(Qt::SizeAllCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(32, 32);
    connect(m_view, &CZoomView::viewChanged, this, [this] {
        // The content holds at least the window, whose size just changed
        // or not: updating it costs nothing when it is the same.
        updateContent();
    });
    m_view->setFitSource([this] {
        std::vector<int> rows = m_selected;
        rows.push_back(m_current);
        return m_document ? QRectF(m_preview.drawnBounds(*m_document, rows)) : QRectF();
    });
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, qOverload<>(&QWidget::update));
}

void CBitmapOffsetPane::showBitmaps(CResourceHolder* document, int current, const std::vector<int>& selected)
{
    const bool another = document != m_document || current != m_current;
    m_document = document;
    m_current = current;
    m_selected = selected;
    m_placeholder = placeholderFor();
    updateContent();
    // Another bitmap opens whole.
    if (another)
        m_view->fitWhenSized();
    update();
}

void CBitmapOffsetPane::updateContent()
{
    // The content is what is drawn, and at least the window at zoom 1 from
    // (0, 0), where the origin starts.
    QRect content(0, 0, std::max(1, width()), std::max(1, height()));
    if (m_document) {
        std::vector<int> rows = m_selected;
        rows.push_back(m_current);
        content = content.united(m_preview.drawnBounds(*m_document, rows).adjusted(-16, -16, 16, 16));
    }
    if (QRectF(content) != m_view->contentRect())
        m_view->setContentRect(content);
}

void CBitmapOffsetPane::paintEvent(QPaintEvent*)
{
    const CGuiColors& colors = CGuiColors::instance();
    QPainter painter(this);
    painter.fillRect(rect(), colors.qcolor(CGuiColors::DialogFace));
    if (!m_document)
        return;
    painter.setTransform(m_view->transform());
    const QRect visible = m_view->transform().inverted().mapRect(QRectF(rect())).toAlignedRect();
    CBitmapOffsetPreview::Colors look;
    look.lines = colors.qcolor(CGuiColors::DialogText);
    look.frame = colors.qcolor(CGuiColors::FocusedArea);
    m_preview.draw(painter, *m_document, m_current, m_selected, visible, look);

    if (!m_placeholder.isEmpty()) {
        painter.resetTransform();
        painter.setPen(look.lines);
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_placeholder);
    }
}

QString CBitmapOffsetPane::placeholderFor() const
{
    // A bitmap without a picture says what it is, and why when its stored
    // picture could not be decoded.
    const auto* record = m_document ? dynamic_cast<const CBitmapItem*>(m_document->get(GroupBitmaps, m_current)) : nullptr;
    if (!record || !record->imageView().isNull())
        return {};
    QString text = QString::fromStdString(record->id()) + QLatin1Char('\n')
                   + QString::fromLatin1(CDisplayBuffer::kindName(record->kind()));
    if (!record->decodeError().empty())
        text += QLatin1Char('\n') + QString::fromStdString(record->decodeError());
    return text;
}

CBitmapOffsetPane::Target CBitmapOffsetPane::targetOf(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier)
        return Target::Selected;
    if (modifiers & Qt::AltModifier)
        return Target::Current;
    return Target::Origin;
}

std::vector<int> CBitmapOffsetPane::rowsOf(Target target) const
{
    if (target == Target::Current)
        return m_current >= 0 ? std::vector<int>{m_current} : std::vector<int>{};
    std::vector<int> rows = m_selected;
    if (m_current >= 0 && std::find(rows.begin(), rows.end(), m_current) == rows.end())
        rows.push_back(m_current);
    return rows;
}

void CBitmapOffsetPane::changed(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    m_editChanged = true;
    emit offsetsChanged(rows);
    updateContent();
    update();
}

void CBitmapOffsetPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_target = targetOf(event->modifiers());
    m_drag.start(event->position().toPoint());
    if (m_target != Target::Origin && m_document) {
        m_editOpen = true;
        m_editChanged = false;
        m_step.begin(QString::fromLatin1(kMoveText));
    }
}

void CBitmapOffsetPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint delta = m_drag.moveTo(event->position().toPoint(), m_view);
    if (delta.isNull())
        return;
    if (m_target == Target::Origin) {
        m_preview.setOrigin(m_preview.origin() + delta);
        updateContent();
        update();
        return;
    }
    if (!m_document)
        return;
    std::vector<int> rows;
    {
        CStepLock::CHold hold(m_lock);
        rows = CBitmapOffsetPreview::moveOffsets(*m_document, rowsOf(m_target), delta);
    }
    changed(rows);
}

void CBitmapOffsetPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    if (m_editOpen) {
        m_editOpen = false;
        m_step.end([this] { emit editFinished(m_editChanged); });
    }
}

void CBitmapOffsetPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Target target = targetOf(event->modifiers());
    if (target == Target::Origin) {
        m_preview.setOrigin({0, 0});
        updateContent();
        update();
        return;
    }
    if (!m_document)
        return;
    m_target = target;
    m_step.begin(QString::fromLatin1(kResetText));
    m_editChanged = false;
    std::vector<int> rows;
    {
        CStepLock::CHold hold(m_lock);
        rows = CBitmapOffsetPreview::resetOffsets(*m_document, rowsOf(target));
    }
    changed(rows);
    m_step.end([this] { emit editFinished(m_editChanged); });
    // The release that follows ends no drag.
    m_dragging = false;
    m_editOpen = false;
}
