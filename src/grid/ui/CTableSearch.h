#pragma once

#include "grid/CItemsGridSearch.h"

class QMenu;
class QTableView;
class QWidget;

// Find in a table beside a panel's grid (the items of a user interface, the
// elements of a world), with the options the panel grids remember and the
// same walk and matching, over the texts the table shows. Such a table
// selects whole rows, so "select items" selects the matching rows.
// Replacing is left to the panel grids: these tables store typed values
// through their own edits.
class CTableSearch {
public:
    // The commands of the entries below, clear of the tables' own.
    enum Command { CmdFindPrevious = 900, CmdFind = 901, CmdFindNext = 902 };

    // From the cell after the current one: the first match becomes the
    // current cell, or with select items every matching row is selected.
    // True when something matched.
    static bool find(QTableView& table, const CFindOptions& options);
    // Find Next and Find Previous: the remembered text and options, never
    // selecting.
    static bool findNext(QTableView& table, bool backward);

    // "Find Previous", "Find...", "Find Next" after a separator, greyed
    // without rows; and the keys F3, Shift+F3 and Ctrl+F on the table.
    static void addMenuEntries(QMenu& menu, const QTableView& table);
    static void addShortcuts(QTableView& table);
    // Runs one of the commands above: false for any other command.
    static bool run(QTableView& table, int command);
};
