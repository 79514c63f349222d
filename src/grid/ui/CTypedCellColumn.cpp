#include "grid/ui/CTypedCellColumn.h"

#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CItemsGrid.h"

#include <QTableView>

CTypedCellColumn::CTypedCellColumn(CItemsGrid& grid, int editorColumn, Fill fill)
    : QObject(&grid), m_grid(grid), m_gridColumn(editorColumn + CItemsGrid::kLeadingColumns), m_fill(std::move(fill))
{
    // The delegate's parent is the table: it is the window its editors open over.
    m_delegate = new CCellDelegate(
        [this](const QModelIndex& index) -> CellValue* {
            if (!index.isValid() || index.row() >= m_grid.rowCount())
                return nullptr;
            valueOf(index.row());
            return &m_value;
        },
        grid.table());
    grid.table()->setItemDelegateForColumn(m_gridColumn, m_delegate);
    connect(m_delegate, &CCellDelegate::cellEdited, this, [this](const QModelIndex& index) {
        // The edited value is still the one the delegate was handed.
        m_grid.editCell(m_gridColumn, index.row(), QString::fromStdString(m_value.displayText(0, 0)));
    });
}

const CellValue& CTypedCellColumn::valueOf(int item) const
{
    m_value = CellValue();
    if (m_fill)
        m_fill(item, m_value);
    return m_value;
}
