#include "grid/ui/CItemsGridRowCommands.h"

#include "core/CDocumentHistory.h"
#include "core/RowOrder.h"
#include "grid/ui/CGridSortKeys.h"
#include "grid/ui/CItemsGrid.h"
#include "grid/ui/IPanelHost.h"

#include <algorithm>

QString CItemsGridRowCommands::stepText(const char* verb, int count) const
{
    return QStringLiteral("%1 %2").arg(QLatin1String(verb), CDocumentHistory::rowsText(m_grid.group(), count));
}

bool CItemsGridRowCommands::rearrangeRows(const std::vector<int>& order)
{
    const int rows = m_grid.rowCount();
    if (RowOrder::isUnchanged(order, rows))
        return false;
    CItemsGrid::CLock lock(m_grid);
    if (!m_grid.rearrangeItems(order))
        return false;
    m_grid.m_marks.rearrange(order, rows);
    return true;
}

void CItemsGridRowCommands::insertItem()
{
    CDocumentHistory::Edit edit(m_grid.history(), stepText("Insert", 1));
    int item = -1;
    {
        CItemsGrid::CLock lock(m_grid);
        item = m_grid.newItem();
    }
    if (item < 0)
        return;
    m_grid.refreshRows();
    m_grid.setCurrentCell(std::max(m_grid.currentColumn(), CItemsGrid::kLeadingColumns), item);
    m_grid.markModified();
}

void CItemsGridRowCommands::deleteItems()
{
    const std::vector<int> set = m_grid.selectionSet(false);
    if (set.empty())
        return;
    CDocumentHistory::Edit edit(m_grid.history(), stepText("Delete", static_cast<int>(set.size())));
    rearrangeRows(RowOrder::withoutRows(m_grid.rowCount(), set));
    m_grid.m_marks.clear(m_grid.rowCount());
    m_grid.refreshRows();
    const int rows = m_grid.rowCount();
    if (rows > 0)
        m_grid.setCurrentCell(std::max(m_grid.currentColumn(), CItemsGrid::kLeadingColumns),
                              std::min(set.back(), rows - 1));
    m_grid.reloadEditorView();
    m_grid.markModified();
    if (m_grid.host())
        m_grid.host()->broadcastReload();
}

void CItemsGridRowCommands::moveUp()
{
    const std::vector<int> set = m_grid.selectionSet(true);
    if (set.empty() || set.front() <= 0)
        return;
    CDocumentHistory::Edit edit(m_grid.history(), stepText("Move Up", static_cast<int>(set.size())));
    const int column = m_grid.currentColumn();
    rearrangeRows(RowOrder::movedUp(m_grid.rowCount(), set));
    m_grid.refreshRows();
    m_grid.setCurrentCell(column, set.front() - 1);
    m_grid.markModified();
}

void CItemsGridRowCommands::moveDown()
{
    const std::vector<int> set = m_grid.selectionSet(false);
    if (set.empty() || set.front() >= m_grid.rowCount() - 1)
        return;
    CDocumentHistory::Edit edit(m_grid.history(), stepText("Move Down", static_cast<int>(set.size())));
    const int column = m_grid.currentColumn();
    rearrangeRows(RowOrder::movedDown(m_grid.rowCount(), set));
    m_grid.refreshRows();
    m_grid.setCurrentCell(column, set.front() + 1);
    m_grid.markModified();
}

void CItemsGridRowCommands::groupItems()
{
    const std::vector<int> set = m_grid.selectionSet(true);
    if (set.empty())
        return;
    CDocumentHistory::Edit edit(m_grid.history(), stepText("Group", static_cast<int>(set.size())));
    rearrangeRows(RowOrder::grouped(m_grid.rowCount(), set));
    m_grid.refreshRows();
    m_grid.markModified();
}

void CItemsGridRowCommands::sortItems(bool ascending)
{
    const std::vector<int> set = m_grid.selectionSet(true);
    if (set.size() < 2)
        return;
    CDocumentHistory::Edit edit(m_grid.history(), stepText("Sort", static_cast<int>(set.size())));
    const int column = std::max(m_grid.currentColumn(), 0);
    const int current = m_grid.currentItem();
    // Items are compared where they stand before anything moves; the row
    // number column therefore sorts by the rows' old numbers.
    const std::vector<int> order = CGridSortKeys(m_grid, column, set).sorted(ascending);
    const bool changed = rearrangeRows(order);
    m_grid.refreshRows();
    if (current >= 0)
        m_grid.setCurrentCell(column, current);
    if (changed)
        m_grid.markModified();
}
