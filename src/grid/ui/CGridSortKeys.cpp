#include "grid/ui/CGridSortKeys.h"

#include "core/RowOrder.h"
#include "grid/CellValue.h"
#include "grid/ui/CItemsGrid.h"

#include <algorithm>

namespace {
template <typename T>
int order(const T& x, const T& y)
{
    return x > y ? 1 : y > x ? -1 : 0;
}
} // namespace

CGridSortKeys::CGridSortKeys(const CItemsGrid& grid, int gridColumn, const std::vector<int>& rows)
    : m_count(grid.rowCount()), m_slot(static_cast<std::size_t>(std::max(m_count, 0)), -1)
{
    for (int row : rows)
        if (row >= 0 && row < m_count && m_slot[static_cast<std::size_t>(row)] < 0) {
            m_slot[static_cast<std::size_t>(row)] = static_cast<int>(m_rows.size());
            m_rows.push_back(row);
        }
    m_keys.resize(m_rows.size());
    bool allRanked = true;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Key& key = m_keys[i];
        key.ranked = grid.sortRank(gridColumn, m_rows[i], key.rank);
        allRanked = allRanked && key.ranked;
    }
    if (allRanked)
        return;

    const int column = gridColumn - CItemsGrid::kLeadingColumns;
    bool allTyped = true;
    bool anyOther = false;
    std::vector<CellValue> values(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Key& key = m_keys[i];
        key.typed = gridColumn > 0 && column >= 0 && grid.editorCellValue(column, m_rows[i], values[i]);
        allTyped = allTyped && key.typed;
        if (!key.typed)
            continue;
        key.numeric = CellValue::isNumeric(values[i].kind());
        anyOther = anyOther || !key.numeric;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Key& key = m_keys[i];
        if (key.typed && key.numeric)
            key.number = values[i].real();
        if (key.typed && (!key.numeric || anyOther))
            key.text = values[i].text();
        if (!allTyped)
            key.shown = grid.gridCellText(gridColumn, m_rows[i]);
    }
}

int CGridSortKeys::compare(int a, int b) const
{
    const Key& x = keyOf(a);
    const Key& y = keyOf(b);
    if (x.ranked && y.ranked)
        return order(x.rank, y.rank);
    if (x.typed && y.typed)
        return x.numeric && y.numeric ? order(x.number, y.number) : order(x.text, y.text);
    return QString::compare(x.shown, y.shown, Qt::CaseSensitive);
}

std::vector<int> CGridSortKeys::sorted(bool ascending) const
{
    return RowOrder::sorted(m_count, m_rows, ascending, [this](int a, int b) { return compare(a, b); });
}
