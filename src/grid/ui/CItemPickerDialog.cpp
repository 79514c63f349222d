#include "grid/ui/CItemPickerDialog.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CItemPicture.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

// The rows listed: indices into the group, -1 for "none".
class CItemPickerModel : public QAbstractListModel {
public:
    CItemPickerModel(const CResourceHolder* document, int group, const CItemFilter& items, QObject* parent)
        : QAbstractListModel(parent), m_document(document), m_group(group), m_items(items)
    {
    }

    void setRows(std::vector<int> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const std::vector<int>& rows() const { return m_rows; }
    int indexAt(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row] : -2; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const int item = indexAt(index.row());
        if (role != Qt::DisplayRole || item < -1)
            return {};
        if (item < 0)
            return QString::fromLatin1(CItemPickerDialog::kNoneText);
        return QString::fromStdString(CItemFilter::label(item, m_items.id(item)));
    }

    // What the row shows beside its name: a picture cell of a bitmap, a
    // colour cell, or nothing.
    bool picture(int item, CellValue& value) const { return CItemPicture::cellOf(m_document, m_group, item, value); }

private:
    const CResourceHolder* m_document;
    int m_group;
    const CItemFilter& m_items;
    std::vector<int> m_rows;
};

namespace {
class PickerRowDelegate : public QStyledItemDelegate {
public:
    PickerRowDelegate(const CItemPickerModel& model, QObject* parent) : QStyledItemDelegate(parent), m_model(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize text = QStyledItemDelegate::sizeHint(option, index);
        return {text.width() + CItemPickerDialog::kThumbnailWidth + 8,
                std::max(text.height(), CItemPickerDialog::kThumbnailHeight + 2)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect box(option.rect.left() + 1, option.rect.top() + 1, CItemPickerDialog::kThumbnailWidth,
                        option.rect.height() - 2);
        QStyleOptionViewItem rest = option;
        rest.rect.setLeft(box.right() + 6);
        painter->fillRect(option.rect, option.state & QStyle::State_Selected ? option.palette.highlight()
                                                                            : option.palette.base());
        QStyledItemDelegate::paint(painter, rest, index);
        CellValue value;
        if (m_model.picture(m_model.indexAt(index.row()), value)) {
            // The cell's own drawing, on the list's face: the same picture
            // or swatch the grids show.
            CCellDelegate::paintCell(*painter, box, value, 0, 0, true, false, false, option.palette.base().color());
        }
    }

private:
    const CItemPickerModel& m_model;
};
} // namespace

CItemPickerDialog::CItemPickerDialog(const CResourceHolder* document, int group, int current, QWidget* parent)
    : QDialog(parent), m_filter(new QLineEdit), m_list(new QListView), m_count(new QLabel)
{
    setWindowTitle(titleFor(group));
    std::vector<std::string> ids;
    const int count = document ? document->count(group) : 0;
    ids.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const CResourceItem* item = document->get(group, i);
        ids.push_back(item ? item->id() : std::string());
    }
    m_items.setIds(std::move(ids));
    m_model = new CItemPickerModel(document, group, m_items, this);

    m_filter->setPlaceholderText(tr("Type part of an ID or an index"));
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(this);
    // Every row is as tall as a thumbnail: the list never measures rows it
    // does not show, which keeps a long group instant.
    m_list->setUniformItemSizes(true);
    m_list->setModel(m_model);
    m_list->setItemDelegate(new PickerRowDelegate(*m_model, m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);
    layout->addWidget(buttons);
    resize(420, 480);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_filter, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(m_list, &QListView::doubleClicked, this, [this] { accept(); });
    m_list->installEventFilter(this);

    applyFilter();
    selectIndex(current);
    m_filter->setFocus();
}

CItemPickerDialog::~CItemPickerDialog() = default;

QString CItemPickerDialog::titleFor(int group)
{
    static const char* const nouns[kGroupCount] = {"Text", "Bitmap", "Sound", "Animation", "Trajectory", "Map",
                                                   "Color", "Binary File", "User Interface", "World"};
    return group >= 0 && group < kGroupCount ? tr("Pick %1").arg(QLatin1String(nouns[group])) : tr("Pick");
}

void CItemPickerDialog::applyFilter()
{
    const QString query = m_filter->text();
    std::vector<int> rows;
    if (query.trimmed().isEmpty())
        rows.push_back(-1);
    const std::vector<int> matching = m_items.filter(query.toStdString());
    rows.insert(rows.end(), matching.begin(), matching.end());
    m_model->setRows(std::move(rows));
    m_count->setText(tr("%1 of %2").arg(matching.size()).arg(m_items.size()));
    // The best guess is the first row listed.
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0));
    m_ok->setEnabled(m_model->rowCount() > 0);
}

void CItemPickerDialog::selectIndex(int index)
{
    const std::vector<int>& rows = m_model->rows();
    const auto at = std::find(rows.begin(), rows.end(), index);
    if (at == rows.end())
        return;
    const QModelIndex row = m_model->index(static_cast<int>(at - rows.begin()));
    m_list->setCurrentIndex(row);
    m_list->scrollTo(row, QAbstractItemView::PositionAtCenter);
}

int CItemPickerDialog::chosenIndex() const
{
    const int index = m_model->indexAt(m_list->currentIndex().row());
    return index < -1 ? -1 : index;
}

std::vector<int> CItemPickerDialog::listedIndices() const { return m_model->rows(); }

bool CItemPickerDialog::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_filter || watched == m_list) && event->type() == QEvent::KeyPress) {
        // The list follows the arrows and page keys while the typing stays
        // in the line.
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (watched == m_list)
                return false;
            QCoreApplication::sendEvent(m_list, event);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Nothing listed, nothing chosen: "none" is a row of its own.
            if (m_list->currentIndex().isValid())
                accept();
            return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
