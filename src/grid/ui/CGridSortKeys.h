#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CItemsGrid;

// The keys one sort of a grid column compares, each row's read once.
// Reading a cell builds a value and often a text; a sort that read the
// cells at every comparison would do that twice per comparison, n log n
// times. Two rows compare exactly as the grid orders cells:
//   - by the panel's own rank when both rows have one (row numbers in the
//     row-number column, a colour's RGB, a sound's play state);
//   - else by their typed values when both cells are typed: as numbers when
//     both are numbers, as their texts otherwise;
//   - else by the texts the grid shows, case-sensitively.
// What a pair of rows would not need is not read: the shown texts only when
// some row lacks a typed value, the typed texts only when numbers meet
// other kinds.
class CGridSortKeys {
public:
    // The keys of `rows` of the grid (ascending, rows outside it ignored)
    // in `gridColumn`.
    CGridSortKeys(const CItemsGrid& grid, int gridColumn, const std::vector<int>& rows);

    // The new order of the grid's rows with the set sorted among its own
    // positions, equal keys keeping their order.
    std::vector<int> sorted(bool ascending) const;

private:
    enum How : std::uint8_t { Ranked = 1, Typed = 2, Numeric = 4 };
    // Orders the i-th and j-th rows of the set: negative, 0 or positive.
    int compare(int i, int j) const;

    int m_count = 0;
    std::vector<int> m_rows;
    // One list per part of the key, filled only as far as the set needs it,
    // so that a sort walks through compact lists, not whole cells.
    std::vector<std::uint8_t> m_how;
    std::vector<double> m_rank;
    std::vector<double> m_number;
    std::vector<std::string> m_text;
    std::vector<QString> m_shown;
};
