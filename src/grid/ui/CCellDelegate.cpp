#include "grid/ui/CCellDelegate.h"

#include "params/ui/CGuiColors.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellEditor.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/CPictureThumbnails.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
// A region has no pixels of its own: its cells show its shape, filled in the
// colour regions are shaded with, at most kSide pixels on its longer side.
constexpr int kRegionSide = 256;

double regionScale(const QRect& bounds)
{
    return std::min(1.0, double(kRegionSide) / std::max(bounds.width(), bounds.height()));
}

// The size of the region's picture, worked out without drawing it: rows are
// measured far more often than they are painted.
QSize regionPictureSize(const QRect& bounds)
{
    if (bounds.isEmpty())
        return {};
    const double scale = regionScale(bounds);
    return {std::max(1, int(std::ceil(bounds.width() * scale))), std::max(1, int(std::ceil(bounds.height() * scale)))};
}

QImage regionPicture(const QRegion& region)
{
    const QRect bounds = region.boundingRect();
    const QSize size = regionPictureSize(bounds);
    if (size.isEmpty())
        return {};
    const double scale = regionScale(bounds);
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    painter.setClipRegion(region);
    painter.fillRect(bounds, QColor::fromRgb(CDisplayBuffer::regionFillColor()));
    return picture;
}

bool isPicture(const CellValue& value)
{
    return value.kind() == CellValue::KindPicture || value.kind() == CellValue::KindRelativePicture;
}

// The bitmap a picture cell shows: its index, plus the row for the
// relative kind.
const CDisplayBuffer* bitmapOf(const CellValue& value, int row)
{
    const CellValue::Picture p = value.picture();
    if (!p.document)
        return nullptr;
    const long long index = static_cast<long long>(p.index) + (value.kind() == CellValue::KindRelativePicture ? row : 0);
    if (index < 0 || index >= p.document->count(GroupBitmaps))
        return nullptr;
    return dynamic_cast<const CDisplayBuffer*>(p.document->get(GroupBitmaps, static_cast<int>(index)));
}

// The picture of a cell at the size it is shown: a stored picture comes from
// the shared thumbnails and stays undecoded.
QImage thumbnailOf(const CellValue& value, int row, QSize size)
{
    const CDisplayBuffer* buffer = bitmapOf(value, row);
    if (!buffer)
        return {};
    if (const QRegion* region = buffer->region())
        return regionPicture(*region).scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return CPictureThumbnails::shared().thumbnail(*buffer, size);
}

// Rows are measured long before they are painted: the size comes without
// decoding the picture.
QSize pictureSizeOf(const CellValue& value, int row)
{
    const CDisplayBuffer* buffer = bitmapOf(value, row);
    if (!buffer)
        return {};
    if (const QRegion* region = buffer->region())
        return regionPictureSize(region->boundingRect());
    return {buffer->actualWidth(), buffer->actualHeight()};
}

// A picture scaled to a row height (never enlarged), its width at most four
// times its height; both rounded up.
QSize pictureSize(QSize picture, int rowHeight)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return {};
    const int h = std::min(rowHeight, picture.height());
    const double w = std::ceil(static_cast<double>(picture.width()) * h / picture.height());
    return {static_cast<int>(std::min(w, 4.0 * h)), h};
}

QRect checkBoxRect(const QRect& cell)
{
    const int s = CCellDelegate::kCheckBoxSize;
    return {cell.left() + 4, cell.center().y() - s / 2, s, s};
}
} // namespace

namespace {
// Before a table paints, the thumbnails of the stored pictures it is about
// to show are made together over the cores, instead of one after another
// as each cell is painted.
class PrepareThumbnails : public QObject {
public:
    PrepareThumbnails(QTableView& table, CCellDelegate::CellAccess cells, QObject* parent)
        : QObject(parent), m_table(table), m_cells(std::move(cells))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched == m_table.viewport() && m_cells)
            prepare(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }

    void prepare(const QRect& area)
    {
        const int firstRow = m_table.rowAt(area.top());
        const int firstColumn = m_table.columnAt(area.left());
        if (firstRow < 0 || firstColumn < 0)
            return;
        const int lastRow = m_table.rowAt(area.bottom()) < 0 ? m_table.model()->rowCount() - 1 : m_table.rowAt(area.bottom());
        const int lastColumn =
            m_table.columnAt(area.right()) < 0 ? m_table.model()->columnCount() - 1 : m_table.columnAt(area.right());
        std::vector<CPictureThumbnails::Request> requests;
        for (int row = firstRow; row <= lastRow; ++row)
            for (int column = firstColumn; column <= lastColumn; ++column) {
                const QModelIndex index = m_table.model()->index(row, column);
                const CellValue* value = m_cells(index);
                const CDisplayBuffer* picture = value && isPicture(*value) ? bitmapOf(*value, row) : nullptr;
                // Only stored pictures are worth it; the others are drawn
                // from pixels already there.
                if (picture && picture->awaitsDecoding())
                    requests.push_back({picture, pictureSize(pictureSizeOf(*value, row), m_table.visualRect(index).height())});
            }
        CPictureThumbnails::shared().prepare(requests);
    }

private:
    QTableView& m_table;
    CCellDelegate::CellAccess m_cells;
};
} // namespace

CCellDelegate::CCellDelegate(CellAccess cells, QObject* parent)
    : QStyledItemDelegate(parent), m_cells(std::move(cells)), m_editor(std::make_unique<CCellEditor>())
{
    if (auto* view = qobject_cast<QAbstractItemView*>(parent))
        view->installEventFilter(this);
}

bool CCellDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // The table itself is no cell editor: the base class must not treat its
    // Tab, Enter and Escape as an editor's.
    if (watched != parent())
        return QStyledItemDelegate::eventFilter(watched, event);
    auto* view = qobject_cast<QAbstractItemView*>(watched);
    if (!view || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F4 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)))
        return false;
    const QModelIndex current = view->currentIndex();
    if (!current.isValid() || view->itemDelegateForIndex(current) != this)
        return false;
    const CellValue* cell = m_cells ? m_cells(current) : nullptr;
    if (!cell || cell->referenceGroup() < 0)
        return false;
    pickCell(view, current);
    return true;
}

void CCellDelegate::prepareThumbnailsFromNowOn() const
{
    auto* table = qobject_cast<QTableView*>(parent());
    if (m_preparesThumbnails || !table)
        return;
    m_preparesThumbnails = true;
    auto* preparation = new PrepareThumbnails(*table, m_cells, const_cast<CCellDelegate*>(this));
    table->viewport()->installEventFilter(preparation);
    // This paint is under way already: the rest of its screen is made now.
    preparation->prepare(table->viewport()->rect());
}

CCellDelegate::~CCellDelegate() = default;

void CCellDelegate::setEditor(std::unique_ptr<CCellEditor> editor)
{
    if (editor)
        m_editor = std::move(editor);
}

QSize CCellDelegate::preferredSize(const CellValue& value, const QFontMetrics& metrics, int column, int row,
                                   bool plainNumbers)
{
    const QString text = QString::fromStdString(value.displayText(column, row, plainNumbers));
    // Long texts keep their line breaks: the row grows to show them.
    const QSize textSize = metrics.size(0, text);
    int w = std::max(textSize.width(), 8) + 16;
    int h = std::max(textSize.height() + 4, 18);
    switch (value.kind()) {
    case CellValue::KindSpacer: return {8, 8};
    case CellValue::KindText:
        if (text.isEmpty())
            return {6, 6};
        break;
    case CellValue::KindYesNo: return {kCheckBoxSize + 8, kCheckBoxSize};
    case CellValue::KindColor: return {w + 10, h + 10};
    case CellValue::KindRelativePicture:
    case CellValue::KindPicture: {
        const QSize s = pictureSize(pictureSizeOf(value, row), h);
        // A picture that names another item also shows its name.
        const std::string label = value.referenceLabel();
        if (!label.empty())
            return {(s.isEmpty() ? 0 : s.width() + 4) + metrics.horizontalAdvance(QString::fromStdString(label)) + 12,
                    std::max(s.height(), h)};
        return s.isEmpty() ? QSize(w, h) : s;
    }
    case CellValue::KindChoice:
        w += kChoiceArrowWidth;
        h = std::max(h, kChoiceArrowWidth);
        break;
    default: break;
    }
    return {w, h};
}

void CCellDelegate::paintCell(QPainter& p, const QRect& rect, const CellValue& value, int column, int row,
                              bool plainNumbers, bool selected, bool focused, const QColor& rowFace)
{
    const CGuiColors& colors = CGuiColors::instance();
    const QColor face = selected            ? colors.qcolor(CGuiColors::WindowSpottedFace)
                        : rowFace.isValid() ? rowFace
                                            : colors.qcolor(CGuiColors::WindowFace);
    const QColor ink = colors.qcolor(selected ? CGuiColors::WindowSpottedText : CGuiColors::WindowText);
    p.save();
    p.setClipRect(rect);
    p.fillRect(rect, value.kind() == CellValue::KindSpacer ? colors.qcolor(CGuiColors::DialogFace) : face);
    p.setPen(ink);
    const QString text = QString::fromStdString(value.displayText(column, row, plainNumbers));
    QRect textRect = rect.adjusted(4, 0, -4, 0);
    switch (value.kind()) {
    case CellValue::KindNone:
    case CellValue::KindSpacer: break;
    case CellValue::KindYesNo: {
        const QRect box = checkBoxRect(rect);
        p.fillRect(box, Qt::white);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        if (value.yesNo()) {
            QPen pen(ink, 2);
            p.setPen(pen);
            p.drawLine(box.left() + 3, box.center().y(), box.center().x() - 1, box.bottom() - 3);
            p.drawLine(box.center().x() - 1, box.bottom() - 3, box.right() - 2, box.top() + 3);
        }
        break;
    }
    case CellValue::KindColor: {
        const CellValue::Color c = value.color();
        const QRect swatch(rect.left() + 3, rect.top() + 3, std::min(24, rect.width() / 3), rect.height() - 6);
        p.fillRect(swatch, CGuiColors::toQColor(c.rgb));
        p.drawRect(swatch.adjusted(0, 0, -1, -1));
        textRect.setLeft(swatch.right() + 5);
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
        break;
    }
    case CellValue::KindRelativePicture:
    case CellValue::KindPicture: {
        const QSize s = pictureSize(pictureSizeOf(value, row), rect.height());
        const QImage picture = s.isEmpty() ? QImage() : thumbnailOf(value, row, s);
        const QString label = QString::fromStdString(value.referenceLabel());
        if (!label.isEmpty()) {
            if (!picture.isNull()) {
                p.drawImage(QRect(QPoint(rect.left() + 2, rect.top()), s), picture);
                textRect.setLeft(rect.left() + 2 + s.width() + 4);
            }
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, label);
        } else if (picture.isNull()) {
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
        } else {
            p.drawImage(QRect(QPoint(rect.left() + (rect.width() - s.width()) / 2, rect.top()), s), picture);
        }
        break;
    }
    case CellValue::KindChoice: {
        const int a = kChoiceArrowWidth;
        const QRect arrow(rect.right() - a, rect.center().y() - a / 4, a - 3, a / 2);
        QPolygon triangle;
        triangle << arrow.topLeft() << arrow.topRight() << QPoint(arrow.center().x(), arrow.bottom());
        p.setBrush(ink);
        p.drawPolygon(triangle);
        textRect.setRight(arrow.left() - 2);
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
        break;
    }
    case CellValue::KindLongText: {
        // A text that fits stays on the line of its neighbours; a longer one
        // shows its beginning.
        const int flags = Qt::AlignLeft | Qt::TextWordWrap;
        const bool fits = p.fontMetrics().boundingRect(textRect, flags, text).height() <= textRect.height();
        p.drawText(textRect, flags | (fits ? Qt::AlignVCenter : Qt::AlignTop), text);
        break;
    }
    case CellValue::KindInteger:
        if (!value.referenceLabel().empty()) {
            // A name reads from its start: the index first, the ID cut short
            // at the right when the column is narrow.
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                       p.fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
            break;
        }
        p.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, text);
        break;
    case CellValue::KindReal:
    case CellValue::KindColumnNumber:
    case CellValue::KindRowNumber: p.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, text); break;
    default: p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text); break;
    }
    if (focused) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colors.qcolor(CGuiColors::FocusedArea), 2));
        p.drawRect(rect.adjusted(1, 1, -1, -1));
    }
    p.restore();
}

void CCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const CellValue* value = m_cells ? m_cells(index) : nullptr;
    if (!value) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QVariant rowFace = index.data(Qt::BackgroundRole);
    const CDisplayBuffer* picture = isPicture(*value) ? bitmapOf(*value, index.row()) : nullptr;
    const bool undecoded = picture && picture->awaitsDecoding();
    if (undecoded)
        prepareThumbnailsFromNowOn();
    paintCell(*painter, option.rect, *value, index.column(), index.row(), plain(index),
              option.state & QStyle::State_Selected, option.state & QStyle::State_HasFocus,
              rowFace.canConvert<QBrush>() ? rowFace.value<QBrush>().color() : QColor());
    // A picture this paint decoded that proved broken is now empty: the
    // cells painted before it (its kind) must say so too.
    if (undecoded && picture->kind() == CDisplayBuffer::Empty)
        if (auto* view = qobject_cast<QAbstractItemView*>(parent())) {
            QWidget* viewport = view->viewport();
            QMetaObject::invokeMethod(viewport, [viewport] { viewport->update(); }, Qt::QueuedConnection);
        }
}

QSize CCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const CellValue* value = m_cells ? m_cells(index) : nullptr;
    if (!value)
        return QStyledItemDelegate::sizeHint(option, index);
    return preferredSize(*value, option.fontMetrics, index.column(), index.row(), plain(index));
}

int CCellDelegate::editCell(QWidget* view, const QRect& rect, const QModelIndex& index, const std::string& typed,
                            bool startFromCurrent)
{
    CellValue* value = m_cells ? m_cells(index) : nullptr;
    if (!value || !m_editor->edit(*value, view, rect, typed, startFromCurrent))
        return 0;
    emit cellEdited(index);
    return 1;
}

int CCellDelegate::pickCell(QWidget* view, const QModelIndex& index)
{
    CellValue* value = m_cells ? m_cells(index) : nullptr;
    if (!value || !m_editor->pick(*value, view))
        return 0;
    emit cellEdited(index);
    return 1;
}

bool CCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                const QModelIndex& index)
{
    QWidget* view = qobject_cast<QWidget*>(parent());
    const CellValue* cell = m_cells ? m_cells(index) : nullptr;
    const bool reference = cell && cell->referenceGroup() >= 0;
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (reference)
            pickCell(view, index);
        else
            editCell(view, option.rect, index, {}, true);
        return true;
    }
    // A click on a choice's arrow opens its list, as a drop-down does.
    if (event->type() == QEvent::MouseButtonRelease && cell && cell->kind() == CellValue::KindChoice) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && mouse->position().x() >= option.rect.right() - kChoiceArrowWidth - 2) {
            editCell(view, option.rect, index, {}, true);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2 || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            editCell(view, option.rect, index, {}, true);
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            // The typed character starts the edit and becomes its text.
            editCell(view, option.rect, index, text.toStdString(), false);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
