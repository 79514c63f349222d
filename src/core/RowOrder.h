#pragma once

#include <functional>
#include <vector>

// The grid's commands over many rows, worked out as one new order of the
// rows instead of one delete, move or swap per row: `order[i]` is the old
// row that ends up at row i, and old rows that are not listed are deleted.
// Each gives exactly what the one-row-at-a-time rule gives, so that items,
// marks and references end up where they always did, at the cost of one
// pass (or one sort) whatever the number of rows.
namespace RowOrder {

// Row i stays at row i.
std::vector<int> unchanged(int count);

// Every row of `rows` deleted, the others closing up in their order.
std::vector<int> withoutRows(int count, const std::vector<int>& rows);

// Each row of the ascending set moved one up in turn (a block moves as one);
// nothing moves when the first is already row 0.
std::vector<int> movedUp(int count, const std::vector<int>& ascending);
// The mirror: the descending set moved one down in turn, nothing when the
// first of it is the last row.
std::vector<int> movedDown(int count, const std::vector<int>& descending);

// The ascending set s0 < s1 < ... brought together right after s0 in its
// old order; the rows it passes keep theirs after it.
std::vector<int> grouped(int count, const std::vector<int>& ascending);

// Orders two rows by the sort column: negative, 0 or positive.
using Compare = std::function<int(int, int)>;
// The rows of the ascending set sorted among the set's own positions by
// `compare`, rows that compare equal keeping their order (a stable sort:
// what repeated swaps of neighbouring members that are out of order give).
std::vector<int> sorted(int count, const std::vector<int>& ascending, bool ascendingOrder, const Compare& compare);
// The same with `compareMembers` given the members' places in the set (0
// for its first row, 1 for the next...) instead of their rows, for callers
// that keep one key per member. Every row of the set is a row of the list.
std::vector<int> sortedMembers(int count, const std::vector<int>& ascending, bool ascendingOrder,
                               const Compare& compareMembers);

// True when `order` leaves every row where it was.
bool isUnchanged(const std::vector<int>& order, int count);

// Where each old row went (-1 for a deleted row): the inverse of `order`.
std::vector<int> newRowOfOld(const std::vector<int>& order, int count);

// Applies `order` to any per-row list (marks, cells); false when `order`
// names a row twice or one outside the list, and then nothing changes.
template <typename List>
bool rearrange(List& list, const std::vector<int>& order)
{
    const std::vector<int> target = newRowOfOld(order, static_cast<int>(list.size()));
    if (target.empty() && !order.empty())
        return false;
    List result;
    result.reserve(order.size());
    for (int old : order)
        result.push_back(std::move(list[static_cast<std::size_t>(old)]));
    list = std::move(result);
    return true;
}

} // namespace RowOrder
