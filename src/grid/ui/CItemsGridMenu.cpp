#include "grid/ui/CItemsGridMenu.h"

#include "core/CDocumentHistory.h"
#include "grid/ui/CItemsGrid.h"

#include <QAction>
#include <QMenu>
#include <QTableView>

bool CItemsGridMenu::runCommand(int command, const QString& label)
{
    if (command >= CItemsGrid::kEditorBase) {
        // An editor command works on the marked rows and the current one;
        // rows it adds or removes anywhere are noticed by the history itself.
        CDocumentHistory::Edit edit(m_grid.history(), label.isEmpty() ? commandLabel(command) : label);
        edit.touchRows(m_grid.group(), m_grid.selectionSet(true));
        if (m_grid.command(CItemsGrid::kEditorBase, command)) {
            m_grid.markModified();
            m_grid.refresh();
        }
        return true;
    }
    switch (command) {
    case CItemsGrid::CmdInsert: m_grid.insertItem(); return true;
    case CItemsGrid::CmdDelete: m_grid.deleteItems(); return true;
    case CItemsGrid::CmdGroup: m_grid.groupItems(); return true;
    case CItemsGrid::CmdMoveUp: m_grid.moveUp(); return true;
    case CItemsGrid::CmdMoveDown: m_grid.moveDown(); return true;
    case CItemsGrid::CmdSelectAll: m_grid.selectAll(); return true;
    case CItemsGrid::CmdSelectInvert: m_grid.selectInvert(); return true;
    case CItemsGrid::CmdSelectNone: m_grid.selectNone(); return true;
    case CItemsGrid::CmdRefresh: m_grid.refresh(); return true;
    case CItemsGrid::CmdFindPrevious: m_grid.findNext(true); return true;
    case CItemsGrid::CmdFind: m_grid.showFindDialog(); return true;
    case CItemsGrid::CmdFindNext: m_grid.findNext(false); return true;
    case CItemsGrid::CmdSortAscending: m_grid.sortItems(true); return true;
    case CItemsGrid::CmdSortDescending: m_grid.sortItems(false); return true;
    default: return false;
    }
}

QString CItemsGridMenu::commandLabel(int command)
{
    QMenu menu;
    m_grid.buildMenu(menu, CItemsGrid::kEditorBase);
    for (QAction* action : menu.findChildren<QAction*>())
        if (action->data().toInt() == command)
            return action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0).remove(QStringLiteral("..."));
    return QStringLiteral("Command");
}

void CItemsGridMenu::fill(QMenu& menu)
{
    const bool noRows = m_grid.rowCount() == 0;
    const bool emptySet = m_grid.selectionSet(true).empty();
    auto add = [&](QMenu& into, int command, const char* label, const char* key, const char* help, bool greyed) {
        QString text = QString::fromLatin1(label);
        if (key && *key)
            text += QLatin1Char('\t') + QString::fromLatin1(key);
        QAction* action = into.addAction(text);
        action->setData(command);
        action->setStatusTip(QString::fromLatin1(help));
        action->setToolTip(QString::fromLatin1(help));
        action->setEnabled(!greyed);
        QObject::connect(action, &QAction::triggered, &m_grid, [this, command] { runCommand(command); });
    };
    menu.setToolTipsVisible(true);
    add(menu, CItemsGrid::CmdInsert, "&Insert Item(s)", "INS", "Add new items", false);
    QMenu* edit = menu.addMenu(QStringLiteral("Edi&t"));
    m_grid.buildMenu(*edit, CItemsGrid::kEditorBase);
    for (QAction* action : edit->actions()) {
        const int command = action->data().toInt();
        if (command >= CItemsGrid::kEditorBase)
            QObject::connect(action, &QAction::triggered, &m_grid, [this, command] { runCommand(command); });
    }
    edit->setEnabled(!edit->isEmpty());
    add(menu, CItemsGrid::CmdClone, "Clone Items", "",
        "Clone the selected items including the item lying at the cursor position, to the end of list", true);
    add(menu, CItemsGrid::CmdCopy, "Copy Items", "", "Copy the selected items including the item lying at the cursor position",
        true);
    add(menu, CItemsGrid::CmdPaste, "Paste Items", "", "Paste the copied items to the end of list", true);
    menu.addSeparator();
    add(menu, CItemsGrid::CmdDelete, "D&elete Items", "DEL",
        "Delete the selected items including the item lying at the cursor position", emptySet);
    menu.addSeparator();
    const bool noSet = emptySet || noRows;
    add(menu, CItemsGrid::CmdGroup, "&Group Items", "Ctrl G", "Group the selected items together", noSet);
    add(menu, CItemsGrid::CmdSortAscending, "&Sort Items Ascending", "Ctrl T", "Sort the selected items ascending", noSet);
    add(menu, CItemsGrid::CmdSortDescending, "S&ort Items Descending", "Ctrl R", "Sort the selected items descending", noSet);
    add(menu, CItemsGrid::CmdMoveUp, "Move Index &Up", "Ctrl Up", "Move the selected items one step up", noSet);
    add(menu, CItemsGrid::CmdMoveDown, "Move Index &Down", "Ctrl Down", "Move the selected items one step down", noSet);
    menu.addSeparator();
    add(menu, CItemsGrid::CmdSelectAll, "Select &All", "Ctrl A", "Select all the items", noRows);
    add(menu, CItemsGrid::CmdSelectInvert, "Select In&vert", "Ctrl I", "Invert the selection of all the items", noRows);
    add(menu, CItemsGrid::CmdSelectNone, "Select &None", "Ctrl N", "Unselect all the items", noRows);
    menu.addSeparator();
    add(menu, CItemsGrid::CmdFindPrevious, "Find &Previous", "Shift F3", "Find the previous occurence", noRows);
    add(menu, CItemsGrid::CmdFind, "&Find...", "Ctrl F", "Find a given text in the whole grid", noRows);
    add(menu, CItemsGrid::CmdFindNext, "Find Ne&xt", "F3", "Find the next occurence", noRows);
    menu.addSeparator();
    add(menu, CItemsGrid::CmdRefresh, "&Refresh", "F5", "Refresh the entire list of items", false);
}

void CItemsGridMenu::show(const QPoint& globalAt)
{
    QMenu menu(&m_grid);
    fill(menu);
    menu.exec(globalAt);
}
