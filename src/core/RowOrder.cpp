#include "core/RowOrder.h"

#include <algorithm>
#include <numeric>

namespace RowOrder {

std::vector<int> unchanged(int count)
{
    std::vector<int> order(static_cast<std::size_t>(std::max(count, 0)));
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::vector<int> withoutRows(int count, const std::vector<int>& rows)
{
    std::vector<char> deleted(static_cast<std::size_t>(std::max(count, 0)), 0);
    for (int r : rows)
        if (r >= 0 && r < count)
            deleted[static_cast<std::size_t>(r)] = 1;
    std::vector<int> order;
    order.reserve(deleted.size());
    for (int r = 0; r < count; ++r)
        if (!deleted[static_cast<std::size_t>(r)])
            order.push_back(r);
    return order;
}

// Moving row i one up or down exchanges it with its neighbour; doing that
// for each member in turn on the order itself is what the rows undergo.
std::vector<int> movedUp(int count, const std::vector<int>& ascending)
{
    std::vector<int> order = unchanged(count);
    if (ascending.empty() || ascending.front() <= 0)
        return order;
    for (int r : ascending)
        if (r > 0 && r < count)
            std::swap(order[static_cast<std::size_t>(r - 1)], order[static_cast<std::size_t>(r)]);
    return order;
}

std::vector<int> movedDown(int count, const std::vector<int>& descending)
{
    std::vector<int> order = unchanged(count);
    if (descending.empty() || descending.front() >= count - 1)
        return order;
    for (int r : descending)
        if (r >= 0 && r < count - 1)
            std::swap(order[static_cast<std::size_t>(r)], order[static_cast<std::size_t>(r + 1)]);
    return order;
}

std::vector<int> grouped(int count, const std::vector<int>& ascending)
{
    std::vector<int> order = unchanged(count);
    if (ascending.empty() || ascending.front() < 0 || ascending.back() >= count)
        return order;
    // Rows before s0 stay; from s0 on, the set comes first and every other
    // row follows in its old order.
    std::vector<char> member(static_cast<std::size_t>(count), 0);
    for (int r : ascending)
        member[static_cast<std::size_t>(r)] = 1;
    auto out = order.begin() + ascending.front();
    out = std::copy(ascending.begin(), ascending.end(), out);
    for (int r = ascending.front(); r < count; ++r)
        if (!member[static_cast<std::size_t>(r)])
            *out++ = r;
    return order;
}

std::vector<int> sorted(int count, const std::vector<int>& ascending, bool ascendingOrder, const Compare& compare)
{
    std::vector<int> rows;
    rows.reserve(ascending.size());
    for (int r : ascending)
        if (r >= 0 && r < count)
            rows.push_back(r);
    return sortedMembers(count, rows, ascendingOrder, [&](int x, int y) {
        return compare(rows[static_cast<std::size_t>(x)], rows[static_cast<std::size_t>(y)]);
    });
}

std::vector<int> sortedMembers(int count, const std::vector<int>& ascending, bool ascendingOrder,
                               const Compare& compareMembers)
{
    std::vector<int> order = unchanged(count);
    std::vector<int> members(ascending.size());
    std::iota(members.begin(), members.end(), 0);
    // The lower of two neighbours goes first when the upper one is greater
    // (ascending) or smaller (descending); the arguments keep that order.
    std::stable_sort(members.begin(), members.end(), [&](int x, int y) {
        const int c = compareMembers(y, x);
        return ascendingOrder ? c > 0 : c < 0;
    });
    for (std::size_t k = 0; k < members.size(); ++k)
        order[static_cast<std::size_t>(ascending[k])] = ascending[static_cast<std::size_t>(members[k])];
    return order;
}

bool isUnchanged(const std::vector<int>& order, int count)
{
    if (static_cast<int>(order.size()) != count)
        return false;
    for (int i = 0; i < count; ++i)
        if (order[static_cast<std::size_t>(i)] != i)
            return false;
    return true;
}

std::vector<int> newRowOfOld(const std::vector<int>& order, int count)
{
    std::vector<int> target(static_cast<std::size_t>(std::max(count, 0)), -1);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int old = order[i];
        if (old < 0 || old >= count || target[static_cast<std::size_t>(old)] != -1)
            return {};
        target[static_cast<std::size_t>(old)] = static_cast<int>(i);
    }
    return target;
}

} // namespace RowOrder
