#pragma once

#include "grid/CItemsGridSearch.h"

class CItemsGrid;

// Find, Find Next, Find Previous and Replace over the cells of an items
// grid, with the options remembered for the whole program.
class CItemsGridFind {
public:
    static constexpr const char* kReplaceQuestion = "Replace \"%1\" with \"%2\" ?";

    explicit CItemsGridFind(CItemsGrid& grid) : m_grid(grid) {}

    static CFindOptions& options();

    // Runs the search with the remembered options (or only those Find Next
    // and Find Previous use). True when something matched.
    bool find();
    bool findNext(bool backward);
    // The Find dialog, then the search it sets up.
    void showDialog();

private:
    bool search(const CFindOptions& options, bool allowSelectAndReplace);

    CItemsGrid& m_grid;
};
