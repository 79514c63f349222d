#include "grid/ui/CItemsGridModel.h"

#include "grid/CItemsMime.h"

#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CItemsGrid.h"

#include <QBrush>
#include <QColor>

namespace {
// Typed cells are drawn and edited by their kind; the editors' plain text
// cells keep the table's own drawing and in-place line edit.
class CGridCellDelegate : public CCellDelegate {
public:
    CGridCellDelegate(CellAccess cells, QObject* parent) : CCellDelegate(cells, parent), m_access(std::move(cells)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (m_access(index))
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        if (m_access(index))
            return CCellDelegate::editorEvent(event, model, option, index);
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }

private:
    CellAccess m_access;
};
} // namespace

CItemsGridModel::CItemsGridModel(CItemsGrid& grid) : QAbstractTableModel(nullptr), m_grid(grid) {}

CItemsGridModel::~CItemsGridModel() = default;

CellValue* CItemsGridModel::typedCell(int gridColumn, int item) const
{
    const int column = gridColumn - CItemsGrid::kLeadingColumns;
    if (column < 0 || column >= m_grid.editorColumnCount() || item < 0 || item >= m_grid.rowCount())
        return nullptr;
    CellValue fresh;
    if (!m_grid.editorCellValue(column, item, fresh))
        return nullptr;
    auto& slot = m_cells[{item, gridColumn}];
    if (!slot)
        slot = std::make_unique<CellValue>();
    *slot = fresh;
    return slot.get();
}

CCellDelegate* CItemsGridModel::createDelegate(QObject* parent)
{
    auto* delegate = new CGridCellDelegate(
        [this](const QModelIndex& index) { return typedCell(index.column(), index.row()); }, parent);
    connect(delegate, &CCellDelegate::cellEdited, this, [this](const QModelIndex& index) {
        // The value the cell's editor changed, not a fresh fill from the item.
        const auto edited = m_cells.find({index.row(), index.column()});
        if (edited != m_cells.end() && edited->second) {
            const CellValue value = *edited->second;
            m_grid.editCellValue(index.column(), index.row(), value);
        }
    });
    return delegate;
}

int CItemsGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.rowCount();
}

int CItemsGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.gridColumnCount();
}

QVariant CItemsGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    const int item = index.row();
    if (column == 1) {
        if (role == Qt::CheckStateRole)
            return m_grid.isMarked(item) ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (column == 0) {
        if (role == Qt::DisplayRole)
            return item;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::ForegroundRole)
            return QBrush(QColor(110, 110, 110));
        return {};
    }
    if (role == Qt::BackgroundRole && m_grid.isMarked(item))
        return QBrush(QColor(255, 244, 200));
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole)
        return m_grid.gridCellText(column, item);
    return {};
}

bool CItemsGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    if (index.column() == 1 && role == Qt::CheckStateRole) {
        m_grid.setMarked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    if (index.column() >= CItemsGrid::kLeadingColumns && role == Qt::EditRole) {
        m_grid.editCell(index.column(), index.row(), value.toString());
        return true;
    }
    return false;
}

Qt::ItemFlags CItemsGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_grid.itemDrags())
        f |= Qt::ItemIsDragEnabled;
    if (index.column() == 1)
        f |= Qt::ItemIsUserCheckable;
    else if (index.column() >= CItemsGrid::kLeadingColumns
             && m_grid.editorCellEditable(index.column() - CItemsGrid::kLeadingColumns))
        f |= Qt::ItemIsEditable;
    return f;
}

QStringList CItemsGridModel::mimeTypes() const
{
    return {QString::fromLatin1(CItemsMime::kFormat)};
}

QMimeData* CItemsGridModel::mimeData(const QModelIndexList& indexes) const
{
    if (indexes.isEmpty() || !m_grid.holder())
        return nullptr;
    const int pressed = indexes.front().row();
    std::vector<int> rows{pressed};
    if (m_grid.isMarked(pressed))
        rows = m_grid.selectionInMarkOrder();
    return CItemsMime::make(*m_grid.holder(), m_grid.group(), rows);
}

QVariant CItemsGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    if (section == 0)
        return QStringLiteral("Index");
    if (section == 1)
        return QStringLiteral("Select");
    return m_grid.editorHeader(section - CItemsGrid::kLeadingColumns);
}

void CItemsGridModel::resetRows()
{
    m_cells.clear();
    beginResetModel();
    endResetModel();
}

void CItemsGridModel::rowsChanged(int first, int last)
{
    if (first > last || rowCount() == 0)
        return;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}
