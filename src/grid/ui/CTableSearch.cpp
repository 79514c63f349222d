#include "grid/ui/CTableSearch.h"

#include "grid/ui/CFindDialog.h"
#include "grid/ui/CItemsGrid.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>

#include <algorithm>
#include <set>

bool CTableSearch::find(QTableView& table, const CFindOptions& options)
{
    QAbstractItemModel* model = table.model();
    const int rows = model ? model->rowCount() : 0;
    const int columns = model ? model->columnCount() : 0;
    if (rows <= 0 || columns <= 0 || options.text.isEmpty())
        return false;
    QItemSelectionModel* selection = table.selectionModel();
    const QModelIndex current = table.currentIndex();
    const CItemsGridSearch::Cell start{std::max(current.column(), 0), std::max(current.row(), 0)};
    std::set<int> selectedRows;
    for (const QModelIndex& index : selection->selectedRows())
        selectedRows.insert(index.row());

    std::vector<int> found;
    for (const CItemsGridSearch::Cell& cell : CItemsGridSearch::walk(columns, rows, start, options.backward)) {
        if (options.inSelectedItems && !selectedRows.count(cell.row))
            continue;
        const QModelIndex index = model->index(cell.row, cell.column);
        if (!CItemsGridSearch::matches(model->data(index, Qt::DisplayRole).toString(), options.text, options.matchCase,
                                       options.wholeWord))
            continue;
        if (!options.selectItems) {
            selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            table.scrollTo(index);
            return true;
        }
        if (std::find(found.begin(), found.end(), cell.row) == found.end())
            found.push_back(cell.row);
    }
    if (found.empty())
        return false;
    if (options.unselectPrevious)
        selection->clearSelection();
    for (int row : found)
        selection->select(model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->setCurrentIndex(model->index(found.front(), start.column), QItemSelectionModel::NoUpdate);
    table.scrollTo(model->index(found.front(), start.column));
    return true;
}

bool CTableSearch::findNext(QTableView& table, bool backward)
{
    CFindOptions options = CItemsGrid::findOptions();
    options.backward = backward;
    options.selectItems = false;
    options.replace = false;
    return find(table, options);
}

void CTableSearch::addMenuEntries(QMenu& menu, const QTableView& table)
{
    const bool noRows = !table.model() || table.model()->rowCount() == 0;
    auto add = [&](int command, const char* label, const char* key, const char* help) {
        QAction* action = menu.addAction(QString::fromLatin1(label) + QLatin1Char('\t') + QString::fromLatin1(key));
        action->setData(command);
        action->setStatusTip(QString::fromLatin1(help));
        action->setToolTip(QString::fromLatin1(help));
        action->setEnabled(!noRows);
    };
    menu.addSeparator();
    add(CmdFindPrevious, "Find &Previous", "Shift F3", "Find the previous occurence");
    add(CmdFind, "&Find...", "Ctrl F", "Find a given text in the whole grid");
    add(CmdFindNext, "Find Ne&xt", "F3", "Find the next occurence");
}

namespace {
// The keys of the search while the table has the focus; they win over the
// main window's, as in the panel grids.
class CSearchKeys : public QObject {
public:
    explicit CSearchKeys(QTableView& table) : QObject(&table), m_table(table) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_table || (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress))
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        int command = 0;
        if (key->key() == Qt::Key_F3 && mods == Qt::NoModifier)
            command = CTableSearch::CmdFindNext;
        else if (key->key() == Qt::Key_F3 && mods == Qt::ShiftModifier)
            command = CTableSearch::CmdFindPrevious;
        else if (key->key() == Qt::Key_F && mods == Qt::ControlModifier)
            command = CTableSearch::CmdFind;
        if (command == 0)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        CTableSearch::run(m_table, command);
        return true;
    }

private:
    QTableView& m_table;
};
} // namespace

void CTableSearch::addShortcuts(QTableView& table)
{
    table.installEventFilter(new CSearchKeys(table));
}

bool CTableSearch::run(QTableView& table, int command)
{
    switch (command) {
    case CmdFindPrevious:
        findNext(table, true);
        return true;
    case CmdFindNext:
        findNext(table, false);
        return true;
    case CmdFind: {
        if (!table.model() || table.model()->rowCount() == 0)
            return true;
        CFindDialog dialog(CItemsGrid::findOptions(), &table);
        if (dialog.exec() == QDialog::Accepted) {
            CItemsGrid::findOptions() = dialog.options();
            find(table, CItemsGrid::findOptions());
        }
        return true;
    }
    default:
        return false;
    }
}
