#pragma once

#include <QString>

class CItemsGrid;

// The parts of the integrity check every group shares, and how a finding
// is shown: its item made current, the finding told.
class CItemsGridIntegrity {
public:
    explicit CItemsGridIntegrity(CItemsGrid& grid) : m_grid(grid) {}

    // No two items with the same ID: reports the first one found and
    // answers false.
    bool checkUniqueIds();
    // Answers false, so that a check can return it.
    bool reportFinding(int item, const QString& text);

private:
    CItemsGrid& m_grid;
};
