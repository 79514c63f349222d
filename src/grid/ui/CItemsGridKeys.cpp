#include "grid/ui/CItemsGridKeys.h"

#include "grid/ui/CItemsGrid.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTableView>

CItemsGridKeys::CItemsGridKeys(CItemsGrid& grid) : QObject(&grid), m_grid(grid) {}

int CItemsGridKeys::commandOf(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Insert: return CItemsGrid::CmdInsert;
        case Qt::Key_Delete: return CItemsGrid::CmdDelete;
        case Qt::Key_F3: return CItemsGrid::CmdFindNext;
        case Qt::Key_F5: return CItemsGrid::CmdRefresh;
        default: return 0;
        }
    }
    if (mods == Qt::ShiftModifier)
        return key == Qt::Key_F3 ? CItemsGrid::CmdFindPrevious : 0;
    if (mods != Qt::ControlModifier)
        return 0;
    switch (key) {
    case Qt::Key_Up: return CItemsGrid::CmdMoveUp;
    case Qt::Key_Down: return CItemsGrid::CmdMoveDown;
    case Qt::Key_A: return CItemsGrid::CmdSelectAll;
    case Qt::Key_I: return CItemsGrid::CmdSelectInvert;
    case Qt::Key_N: return CItemsGrid::CmdSelectNone;
    case Qt::Key_G: return CItemsGrid::CmdGroup;
    case Qt::Key_T: return CItemsGrid::CmdSortAscending;
    case Qt::Key_R: return CItemsGrid::CmdSortDescending;
    case Qt::Key_F: return CItemsGrid::CmdFind;
    case Qt::Key_Space: return kShowMenu;
    default: return 0;
    }
}

bool CItemsGridKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid.table()
        && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int command = commandOf(key->key(), key->modifiers());
        if (command != 0) {
            if (event->type() == QEvent::ShortcutOverride) {
                // The grid's own keys win over the main window's while it has the focus.
                event->accept();
            } else if (command == kShowMenu) {
                m_grid.showContextMenu();
            } else {
                m_grid.runCommand(command);
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
