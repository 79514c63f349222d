#pragma once

#include <QStringList>

class CItemsGrid;
class QDragEnterEvent;
class QDropEvent;

// Files dropped on an items grid: each becomes an item of the group when
// the group takes files; a group that does not says so.
class CItemsGridDrops {
public:
    static constexpr const char* kRefusesFiles = "This group of resources does not accept files !";

    explicit CItemsGridDrops(CItemsGrid& grid) : m_grid(grid) {}

    void dropFiles(const QStringList& paths);
    static void dragEnter(QDragEnterEvent& event);
    void drop(QDropEvent& event);

private:
    CItemsGrid& m_grid;
};
