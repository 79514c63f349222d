#include "grid/ui/CIndexList.h"

#include "params/ui/CGuiColors.h"
#include "core/CGameStepTimer.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CItemsMime.h"
#include "grid/ui/CItemPicture.h"
#include "kinds/animations/CAnimationFrameTexts.h"
#include "kinds/animations/CAnimationItem.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/CPictureThumbnails.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>

namespace {
// Bitmap rows show a thumbnail at most this tall.
constexpr int kThumbnailHeight = 40;

std::string printed(const char* format, auto... args)
{
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}
} // namespace

CIndexList::CIndexList(QWidget* parent) : QWidget(parent), m_bar(new QScrollBar(Qt::Vertical, this))
{
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_bar, &QScrollBar::valueChanged, this, [this](int v) {
        m_offset = v;
        update();
    });
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, qOverload<>(&QWidget::update));
    refresh();
}

void CIndexList::attach(const CResourceHolder* holder)
{
    m_holder = holder;
    refresh();
}

int CIndexList::setDisplayMode(int mode)
{
    if (mode < ModeIndices || mode > ModeFrames)
        return 0;
    m_mode = mode;
    refresh();
    return 1;
}

void CIndexList::setEmptyRow(bool on)
{
    m_emptyRow = on;
    refresh();
}

void CIndexList::setPlainFrameRows(bool on)
{
    m_plainFrames = on;
    refresh();
}

void CIndexList::setAnimationIndex(int index)
{
    m_animation = index;
    refresh();
}

void CIndexList::setIndexCount(int count)
{
    m_indexCount = std::max(0, count);
    refresh();
}

int CIndexList::listedCount() const
{
    switch (m_mode) {
    case ModeIndices: return m_indexCount;
    case ModeBitmaps: return m_holder ? m_holder->count(GroupBitmaps) : 0;
    case ModeAnimations: return m_holder ? m_holder->count(GroupAnimations) : 0;
    case ModeFrames: {
        if (!m_holder)
            return 0;
        const auto* a = dynamic_cast<const CAnimationItem*>(m_holder->get(GroupAnimations, m_animation));
        return (a && a->animationType() == CAnimationItem::kTypeBitmaps) ? a->frameCount() : 0;
    }
    default: return 0;
    }
}

int CIndexList::rowCount() const { return static_cast<int>(m_heights.size()); }

std::string CIndexList::rowText(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const int i = indexOfRow(row);
    if (i < 0)
        return printed("%d - %s", -1, kEmptyText);
    switch (m_mode) {
    case ModeBitmaps:
    case ModeAnimations: {
        const CResourceItem* item = m_holder->get(m_mode == ModeBitmaps ? GroupBitmaps : GroupAnimations, i);
        return printed("%d - %s", i, item ? item->id().c_str() : "");
    }
    case ModeFrames: {
        const auto* a = dynamic_cast<const CAnimationItem*>(m_holder->get(GroupAnimations, m_animation));
        if (!a)
            return {};
        return m_plainFrames ? CAnimationFrameTexts::plainFrameRow(*m_holder, *a, i, CGameStepTimer::delayFor(*m_holder))
                             : CAnimationFrameTexts::frameRow(*m_holder, *a, i);
    }
    default: return printed("%d", i);
    }
}

const CDisplayBuffer* CIndexList::bitmapAt(int index) const
{
    return m_holder ? dynamic_cast<const CDisplayBuffer*>(m_holder->get(GroupBitmaps, index)) : nullptr;
}

QSize CIndexList::thumbnailBox(int row) const
{
    return {4 * kThumbnailHeight, rowHeight(row) - 4};
}

void CIndexList::prepareThumbnails() const
{
    std::vector<CPictureThumbnails::Request> shown;
    int top = -m_offset;
    for (int r = 0; r < rowCount() && top < height(); top += rowHeight(r), ++r)
        if (top + rowHeight(r) > 0)
            if (const CDisplayBuffer* bitmap = bitmapAt(indexOfRow(r)))
                shown.push_back({bitmap, thumbnailBox(r)});
    CPictureThumbnails::shared().prepare(shown);
}

int CIndexList::bitmapHeight(int index) const
{
    const CDisplayBuffer* buffer = bitmapAt(index);
    return buffer && !buffer->region() ? buffer->actualHeight() : 0;
}

void CIndexList::refresh()
{
    const int textHeight = fontMetrics().height() + 4;
    const int n = listedCount() + (m_emptyRow ? 1 : 0);
    m_heights.assign(static_cast<std::size_t>(n), textHeight);
    if (m_mode == ModeBitmaps)
        for (int r = 0; r < n; ++r) {
            // The height without decoding the picture: only the rows shown are.
            const int height = bitmapHeight(indexOfRow(r));
            if (height > 0)
                m_heights[static_cast<std::size_t>(r)] = std::max(textHeight, std::min(height, kThumbnailHeight) + 4);
        }
    // Fewer rows than before: the selection stays on a row that exists.
    const int lowest = m_emptyRow ? -1 : 0;
    const int highest = m_emptyRow ? n - 2 : n - 1;
    m_selected = std::max(std::min(m_selected, highest), lowest);
    std::erase_if(m_marks, [&](int index) { return index < lowest || index > highest; });
    updateScrollBar();
    update();
}

int CIndexList::rowHeight(int row) const
{
    return (row >= 0 && row < rowCount()) ? m_heights[static_cast<std::size_t>(row)] : 0;
}

int CIndexList::rowTop(int row) const
{
    int top = -m_offset;
    for (int r = 0; r < row && r < rowCount(); ++r)
        top += m_heights[static_cast<std::size_t>(r)];
    return top;
}

int CIndexList::rowAt(int y) const
{
    int top = -m_offset;
    for (int r = 0; r < rowCount(); ++r) {
        const int h = m_heights[static_cast<std::size_t>(r)];
        if (y >= top && y < top + h)
            return r;
        top += h;
    }
    return -1;
}

int CIndexList::totalHeight() const
{
    int total = 0;
    for (int h : m_heights)
        total += h;
    return total;
}

int CIndexList::clientHeight() const { return height(); }

void CIndexList::setMarking(bool on)
{
    m_marking = on;
    clearMarks();
}

bool CIndexList::isMarked(int index) const
{
    return std::find(m_marks.begin(), m_marks.end(), index) != m_marks.end();
}

bool CIndexList::toggleMark(int index)
{
    const int lowest = m_emptyRow ? -1 : 0;
    if (!m_marking || index < lowest || index >= lowest + rowCount())
        return false;
    const auto at = std::find(m_marks.begin(), m_marks.end(), index);
    if (at == m_marks.end())
        m_marks.push_back(index);
    else
        m_marks.erase(at);
    update();
    return true;
}

void CIndexList::clearMarks()
{
    m_marks.clear();
    update();
}

int CIndexList::select(int i)
{
    const int rows = rowCount();
    const int lowest = m_emptyRow ? -1 : 0;
    const int highest = m_emptyRow ? rows - 2 : rows - 1;
    bool clamped = false;
    if (i > highest) {
        i = highest;
        clamped = true;
    }
    const int before = m_selected;
    m_selected = std::max(i, lowest);
    scrollIntoView();
    update();
    if (m_selected != before)
        emit selectionChanged(m_selected);
    return (!clamped && i >= lowest) ? 1 : 0;
}

void CIndexList::scrollIntoView()
{
    const int row = m_emptyRow ? m_selected + 1 : m_selected;
    if (row < 0 || row >= rowCount())
        return;
    const int top = rowTop(row);
    const int bottom = top + rowHeight(row);
    if (bottom > clientHeight())
        m_offset += bottom - clientHeight();
    const int newTop = rowTop(row);
    // The top wins for a row taller than the window.
    if (newTop < 0)
        m_offset += newTop;
    updateScrollBar();
}

void CIndexList::updateScrollBar()
{
    const int total = totalHeight();
    const int client = clientHeight();
    m_offset = std::clamp(m_offset, 0, std::max(0, total - client));
    const QSignalBlocker block(m_bar);
    m_bar->setRange(0, std::max(0, total - client));
    m_bar->setPageStep(std::max(1, client));
    m_bar->setSingleStep(std::max(1, fontMetrics().height()));
    m_bar->setValue(m_offset);
}

void CIndexList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int barWidth = std::min(m_bar->sizeHint().width(), std::max(0, width() - kMinimumRowsWidth));
    m_bar->setGeometry(width() - barWidth, 0, barWidth, height());
    updateScrollBar();
    repaint();
}

QSize CIndexList::sizeHint() const { return {260, 240}; }

void CIndexList::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const CGuiColors& colors = CGuiColors::instance();
    const int rowsWidth = width() - (m_bar->isVisible() ? m_bar->width() : 0);
    p.fillRect(rect(), colors.qcolor(CGuiColors::WindowFace));
    if (m_mode == ModeBitmaps)
        prepareThumbnails();
    int top = -m_offset;
    for (int r = 0; r < rowCount() && top < height(); ++r) {
        const int h = m_heights[static_cast<std::size_t>(r)];
        if (top + h > 0) {
            const QRect row(0, top, rowsWidth, h);
            const bool selected = indexOfRow(r) == m_selected;
            if (selected)
                p.fillRect(row, colors.qcolor(CGuiColors::WindowSpottedFace));
            else if (isMarked(indexOfRow(r)))
                p.fillRect(row, colors.qcolor(CGuiColors::WindowSpottedFace).lighter(160));
            int textLeft = 4;
            if (m_mode == ModeBitmaps && indexOfRow(r) >= 0) {
                const CDisplayBuffer* bitmap = bitmapAt(indexOfRow(r));
                const QImage thumb =
                    bitmap ? CPictureThumbnails::shared().thumbnail(*bitmap, thumbnailBox(r)) : QImage();
                if (!thumb.isNull()) {
                    p.drawImage(4, top + 2, thumb);
                    textLeft += thumb.width() + 6;
                }
            }
            p.setPen(colors.qcolor(selected ? CGuiColors::WindowSpottedText : CGuiColors::WindowText));
            p.drawText(row.adjusted(textLeft, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::fromStdString(rowText(r)));
            if (selected && hasFocus()) {
                p.setPen(QPen(colors.qcolor(CGuiColors::FocusedArea), 1, Qt::DotLine));
                p.drawRect(row.adjusted(0, 0, -1, -1));
            }
        }
        top += h;
    }
    if (m_dropMarker >= 0) {
        const int y = std::clamp(rowTop(m_dropMarker), 1, std::max(1, height() - 2));
        p.setPen(QPen(colors.qcolor(CGuiColors::FocusedArea), 2));
        p.drawLine(0, y, rowsWidth, y);
    }
}

void CIndexList::setDropMarker(int row)
{
    if (row == m_dropMarker)
        return;
    m_dropMarker = row;
    update();
}

void CIndexList::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool allowed = !(mods & Qt::ShiftModifier) && !((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier));
    if (m_marking && mods == Qt::ControlModifier && event->key() == Qt::Key_Space) {
        toggleMark(m_selected);
        return;
    }
    if (allowed && QWidget::mouseGrabber() == nullptr) {
        switch (event->key()) {
        case Qt::Key_PageUp: select(m_selected - 10); return;
        case Qt::Key_PageDown: select(m_selected + 10); return;
        case Qt::Key_Home: select(-1); return;
        case Qt::Key_End: select(rowCount()); return;
        case Qt::Key_Up: select(m_selected - 1); return;
        case Qt::Key_Down: select(m_selected + 1); return;
        default: break;
        }
    }
    QWidget::keyPressEvent(event);
}

void CIndexList::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QWidget* grabber = QWidget::mouseGrabber();
    if (grabber && grabber != this)
        return;
    const int row = rowAt(static_cast<int>(event->position().y()));
    if (row < 0)
        return;
    if (m_marking && event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
        toggleMark(indexOfRow(row));
    select(indexOfRow(row));
    m_pressIndex = event->button() == Qt::LeftButton ? indexOfRow(row) : -2;
    m_pressAt = event->position().toPoint();
}

std::vector<int> CIndexList::dragIndexes(int index) const
{
    if (index < 0)
        return {};
    return isMarked(index) ? m_marks : std::vector<int>{index};
}

void CIndexList::mouseMoveEvent(QMouseEvent* event)
{
    const int group = m_mode == ModeBitmaps ? GroupBitmaps : m_mode == ModeAnimations ? GroupAnimations : -1;
    if (!m_itemDrags || !m_holder || group < 0 || m_pressIndex < 0 || !(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    const std::vector<int> indexes = dragIndexes(m_pressIndex);
    m_pressIndex = -2;
    auto* drag = new QDrag(this);
    drag->setMimeData(CItemsMime::make(*m_holder, group, indexes));
    CItemPicture::putOn(*drag, CItemPicture::dragPixmap(*m_holder, group, indexes));
    drag->exec(Qt::CopyAction);
}

void CIndexList::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = rowAt(static_cast<int>(event->position().y()));
    if (row >= 0) {
        select(indexOfRow(row));
        emit indexActivated(m_selected);
    }
}

void CIndexList::wheelEvent(QWheelEvent* event)
{
    m_bar->setValue(m_bar->value() - event->angleDelta().y() / 120 * m_bar->singleStep() * 3);
}
