#pragma once

#include <QItemSelectionModel>
#include <QMimeData>
#include <QStringList>
#include <QTableView>
#include <QUrl>

#include <set>
#include <vector>

// Small pieces every window of the editor needs the same way.

// The local files of a drag and drop, in the order they were dropped.
inline QStringList droppedLocalFiles(const QMimeData* data)
{
    QStringList paths;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    return paths;
}

// The current row of a table, or -1.
inline int currentTableRow(const QTableView& table)
{
    const QModelIndex index = table.currentIndex();
    return index.isValid() ? index.row() : -1;
}

// Every row that has a selected cell, in ascending order.
inline std::vector<int> selectedTableRows(const QTableView& table)
{
    std::set<int> rows;
    if (table.selectionModel())
        for (const QModelIndex& index : table.selectionModel()->selectedIndexes())
            rows.insert(index.row());
    return {rows.begin(), rows.end()};
}
