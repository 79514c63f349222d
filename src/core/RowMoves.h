#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>

// The row operations every ordered list of the program shares (the items of
// a group, the items of a user interface, the elements of a world): each
// refuses an index out of range and changes nothing then.

template <typename List>
bool validRow(const List& list, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < list.size();
}

// Takes the row at `from` out and puts it in at `to`; the rows between shift by one.
template <typename List>
int moveRow(List& list, int from, int to)
{
    if (!validRow(list, from) || !validRow(list, to))
        return 0;
    const auto first = list.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else if (from > to)
        std::rotate(first + to, first + from, first + from + 1);
    return 1;
}

template <typename List>
int swapRows(List& list, int i, int j)
{
    if (!validRow(list, i) || !validRow(list, j))
        return 0;
    using std::swap;
    swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
    return 1;
}

template <typename List>
int removeRow(List& list, int i)
{
    if (!validRow(list, i))
        return 0;
    list.erase(list.begin() + i);
    return 1;
}
