#pragma once

#include <QObject>

class CItemsGrid;

// The keys of an items grid, watched on its table: each runs the command of
// the context menu entry that shows it, and wins over the main window's
// shortcuts while the table has the focus.
class CItemsGridKeys : public QObject {
    Q_OBJECT
public:
    explicit CItemsGridKeys(CItemsGrid& grid);

    // The command a key runs (0 for none); Ctrl+Space, which opens the
    // menu, answers kShowMenu.
    static constexpr int kShowMenu = -1;
    static int commandOf(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CItemsGrid& m_grid;
};
