#include "grid/CRowMarks.h"

#include "core/RowOrder.h"

#include <algorithm>

void CRowMarks::resize(int rows)
{
    m_marks.resize(static_cast<std::size_t>(std::max(rows, 0)), 0);
}

bool CRowMarks::isMarked(int row) const
{
    return valid(row) && m_marks[static_cast<std::size_t>(row)];
}

void CRowMarks::set(int row, bool marked)
{
    if (!valid(row))
        return;
    int& mark = m_marks[static_cast<std::size_t>(row)];
    mark = !marked ? 0 : mark ? mark : ++m_stamp;
}

void CRowMarks::markAll(int rows)
{
    m_marks.assign(static_cast<std::size_t>(std::max(rows, 0)), ++m_stamp);
}

void CRowMarks::clear(int rows)
{
    m_marks.assign(static_cast<std::size_t>(std::max(rows, 0)), 0);
}

void CRowMarks::invert(int rows)
{
    resize(rows);
    const int stamp = ++m_stamp;
    for (int& mark : m_marks)
        mark = mark ? 0 : stamp;
}

void CRowMarks::markTogether(const std::vector<int>& rows, bool unmarkOthers)
{
    if (unmarkOthers)
        std::fill(m_marks.begin(), m_marks.end(), 0);
    const int stamp = ++m_stamp;
    for (int row : rows)
        if (valid(row))
            m_marks[static_cast<std::size_t>(row)] = stamp;
}

void CRowMarks::rearrange(const std::vector<int>& order, int rows)
{
    resize(rows);
    RowOrder::rearrange(m_marks, order);
}

std::vector<int> CRowMarks::marked(int rows) const
{
    std::vector<int> out;
    for (int row = 0; row < std::min(rows, size()); ++row)
        if (m_marks[static_cast<std::size_t>(row)])
            out.push_back(row);
    return out;
}

std::vector<int> CRowMarks::inMarkOrder(int rows) const
{
    std::vector<int> out = marked(rows);
    std::stable_sort(out.begin(), out.end(), [this](int a, int b) {
        return m_marks[static_cast<std::size_t>(a)] < m_marks[static_cast<std::size_t>(b)];
    });
    return out;
}
