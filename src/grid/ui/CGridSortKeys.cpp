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
    : m_count(grid.rowCount())
{
    std::vector<bool> seen(static_cast<std::size_t>(std::max(m_count, 0)), false);
    for (int row : rows)
        if (row >= 0 && row < m_count && !seen[static_cast<std::size_t>(row)]) {
            seen[static_cast<std::size_t>(row)] = true;
            m_rows.push_back(row);
        }
    const std::size_t k = m_rows.size();
    m_how.assign(k, 0);
    m_rank.assign(k, 0);
    bool allRanked = true;
    for (std::size_t i = 0; i < k; ++i) {
        if (grid.sortRank(gridColumn, m_rows[i], m_rank[i]))
            m_how[i] |= Ranked;
        allRanked = allRanked && (m_how[i] & Ranked);
    }
    if (allRanked)
        return;

    const int column = gridColumn - CItemsGrid::kLeadingColumns;
    bool allTyped = true;
    bool anyNumeric = false;
    bool anyOther = false;
    std::vector<CellValue> values(k);
    for (std::size_t i = 0; i < k; ++i) {
        const bool typed = gridColumn > 0 && column >= 0 && grid.editorCellValue(column, m_rows[i], values[i]);
        allTyped = allTyped && typed;
        if (!typed)
            continue;
        const bool numeric = CellValue::isNumeric(values[i].kind());
        m_how[i] |= numeric ? Typed | Numeric : Typed;
        anyNumeric = anyNumeric || numeric;
        anyOther = anyOther || !numeric;
    }
    if (anyNumeric)
        m_number.assign(k, 0);
    if (anyOther)
        m_text.resize(k);
    if (!allTyped)
        m_shown.resize(k);
    for (std::size_t i = 0; i < k; ++i) {
        const bool typed = m_how[i] & Typed;
        const bool numeric = m_how[i] & Numeric;
        if (typed && numeric)
            m_number[i] = values[i].real();
        if (typed && anyOther)
            m_text[i] = values[i].text();
        if (!allTyped)
            m_shown[i] = grid.gridCellText(gridColumn, m_rows[i]);
    }
}

int CGridSortKeys::compare(int i, int j) const
{
    const auto x = static_cast<std::size_t>(i);
    const auto y = static_cast<std::size_t>(j);
    const int both = m_how[x] & m_how[y];
    if (both & Ranked)
        return order(m_rank[x], m_rank[y]);
    if (both & Typed)
        return both & Numeric ? order(m_number[x], m_number[y]) : order(m_text[x], m_text[y]);
    return QString::compare(m_shown[x], m_shown[y], Qt::CaseSensitive);
}

std::vector<int> CGridSortKeys::sorted(bool ascending) const
{
    return RowOrder::sortedMembers(m_count, m_rows, ascending, [this](int i, int j) { return compare(i, j); });
}
