#pragma once

#include <QString>

#include <vector>

class CItemsGrid;

// The commands of an items grid that change its rows: insert, delete, move
// up and down, group and sort the selection. Each is one step of the
// document's history, works under the game-step lock, keeps the marks on
// their rows, refreshes the table and marks the document modified when
// something changed.
class CItemsGridRowCommands {
public:
    explicit CItemsGridRowCommands(CItemsGrid& grid) : m_grid(grid) {}

    void insertItem();
    void deleteItems();
    void moveUp();
    void moveDown();
    void groupItems();
    void sortItems(bool ascending);

private:
    // "Delete 3 Bitmaps": what a step on `count` rows of the group is called.
    QString stepText(const char* verb, int count) const;
    // Runs a command's new row order on the items and the marks.
    bool rearrangeRows(const std::vector<int>& order);

    CItemsGrid& m_grid;
};
