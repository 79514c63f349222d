#pragma once

#include "core/CDocumentHistory.h"
#include "grid/CellValue.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class CCellDelegate;
class CSideGridModel;
class QLabel;
class QMenu;
class QSplitter;
class QTableView;

// A table beside a panel's grid that lists the parts of the current item
// (the items of a user interface, the elements of a world) under a title,
// with a pane below it. Rows are selected whole, so that an edit can go into
// every selected row; every cell is drawn and edited by its kind. What the
// rows hold, how an edit is stored and the context menu are the subclass's.
class CSideGrid : public QWidget {
    Q_OBJECT
public:
    ~CSideGrid() override;

    QString title() const;
    QTableView* table() const { return m_table; }
    int currentRow() const;
    std::vector<int> selectedRows() const;

    // --- what the rows hold ------------------------------------------------
    virtual int rowTotal() const = 0;
    virtual int columnTotal() const = 0;
    virtual QString headerText(int column) const = 0;
    virtual QString cellText(int column, int row) const = 0;
    // The typed value of a cell; false when the row does not exist.
    virtual bool cellValue(int column, int row, CellValue& value) const = 0;
    // Stores a typed text (the table's own edit): 1 if stored.
    virtual int editCellText(int column, int row, const QString& text) = 0;

    // The context menu: insert, delete, move up and down, swap, then the
    // subclass's own entries, then find.
    void fillContextMenu(QMenu& menu);
    // Runs an entry of that menu: nonzero when it did something.
    int runCommand(int command);

    // Edits of the rows are steps of a document's history: `history` gives
    // it (or null), `scope` says what the rows belong to (the item shown).
    void recordEditsIn(std::function<CDocumentHistory*()> history,
                       std::function<void(CDocumentHistory::Edit&)> scope);

protected:
    // `rowNoun` and `rowsNoun` name the rows in the menu's help texts
    // ("item", "items").
    CSideGrid(const char* defaultTitle, const char* rowNoun, const char* rowsNoun, QWidget* parent);

    // --- the row operations the menu runs ---------------------------------
    // Whether there is something to insert into (an item is shown).
    virtual bool canInsertRow() const = 0;
    // The new row, or -1.
    virtual int insertRow() = 0;
    // 1 when done, 0 for a row out of range.
    virtual int deleteRow(int row) = 0;
    virtual int moveRow(int from, int to) = 0;
    virtual int swapRows(int a, int b) = 0;
    // The subclass's own entries, after a separator; their commands are
    // below kFirstRowCommand.
    virtual void addOwnEntries(QMenu& /*menu*/) {}
    virtual int runOwnCommand(int /*command*/) { return 0; }
    static constexpr int kFirstRowCommand = 100;
    static void addEntry(QMenu& menu, const char* label, const char* help, int command, bool enabled);

    // The end of a subclass's constructor: the table may ask for rows from
    // now on.
    void openRows();
    // A cell's editor stored a new value into `edited`.
    virtual void storeEditedCell(int column, int row, const CellValue& edited) = 0;

    // The title shown above the table: an item's ID, or the default when no
    // item is shown.
    void setTitle(const QString& title);
    void showDefaultTitle();
    // The pane under the table.
    void setLowerPane(QWidget* pane);
    CCellDelegate* delegate() const { return m_delegate; }

    // The rows were replaced (another item shown, rows added or removed).
    void resetRows();
    void rowChanged(int row);
    void allRowsChanged();
    // An edit of the shown item, recorded as one undo step until it ends.
    std::unique_ptr<CDocumentHistory::Edit> openEdit(const QString& text);

private:
    friend class CSideGridModel;
    QString commandText(int command) const;

    std::function<CDocumentHistory*()> m_history;
    std::function<void(CDocumentHistory::Edit&)> m_editScope;
    QString m_defaultTitle;
    QString m_rowNoun;
    QString m_rowsNoun;
    QLabel* m_title;
    QSplitter* m_split;
    QTableView* m_table;
    CSideGridModel* m_model;
    CCellDelegate* m_delegate;
    // Each cell has a value of its own: the table draws while an editor's
    // dialog is open, and must not refill the value being edited with
    // another cell's (kept for the view's life, so that no edit can hold a
    // freed one).
    std::map<std::pair<int, int>, CellValue> m_cells;  // by row and column
};
