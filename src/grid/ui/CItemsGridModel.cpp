#include "grid/ui/CItemsGridModel.h"

#include "grid/ui/CItemsGrid.h"

#include <QBrush>
#include <QColor>

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
    if (index.column() == 1)
        f |= Qt::ItemIsUserCheckable;
    else if (index.column() >= CItemsGrid::kLeadingColumns
             && m_grid.editorCellEditable(index.column() - CItemsGrid::kLeadingColumns))
        f |= Qt::ItemIsEditable;
    return f;
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
    beginResetModel();
    endResetModel();
}

void CItemsGridModel::rowsChanged(int first, int last)
{
    if (first > last || rowCount() == 0)
        return;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}
