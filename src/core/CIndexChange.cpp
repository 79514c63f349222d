#include "core/CIndexChange.h"

#include "core/RowOrder.h"

CIndexChange CIndexChange::removed(int row, int rowsAfter) { return {Kind::Removed, row, rowsAfter}; }
CIndexChange CIndexChange::moved(int from, int to) { return {Kind::Moved, from, to}; }
CIndexChange CIndexChange::swapped(int a, int b) { return {Kind::Swapped, a, b}; }

CIndexChange CIndexChange::rearranged(const std::vector<int>& order, int oldCount)
{
    CIndexChange change{Kind::Rearranged, 0, 0};
    change.m_newRows = std::make_shared<const std::vector<int>>(RowOrder::newRowOfOld(order, oldCount));
    return change;
}

CIndexChange CIndexChange::mapped(std::vector<int> newRowOfOld)
{
    CIndexChange change{Kind::Rearranged, 0, 0};
    change.m_newRows = std::make_shared<const std::vector<int>>(std::move(newRowOfOld));
    return change;
}

// Written as a mapping rather than with a temporary marker value, so that no
// stored value can be mistaken for the marker.
int CIndexChange::apply(int r) const
{
    switch (m_kind) {
    case Kind::Removed:
        if (r == m_a)
            return -1;
        if (r > m_a && r <= m_b)
            return r - 1;
        return r;
    case Kind::Moved: {
        const int from = m_a, to = m_b;
        if (from == to)
            return r;
        if (r == from)
            return to;
        if (from < to && r > from && r <= to)
            return r - 1;
        if (from > to && r >= to && r < from)
            return r + 1;
        return r;
    }
    case Kind::Swapped:
        if (r == m_a)
            return m_b;
        if (r == m_b)
            return m_a;
        return r;
    case Kind::Rearranged:
        // Values that name no row of the group before the change are left
        // alone, as every single change leaves them.
        if (r >= 0 && static_cast<std::size_t>(r) < m_newRows->size())
            return (*m_newRows)[static_cast<std::size_t>(r)];
        return r;
    }
    return r;
}
