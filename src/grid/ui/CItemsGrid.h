#pragma once

#include "core/CResourceItem.h"
#include "core/CStepLock.h"
#include "grid/CItemsGridSearch.h"
#include "grid/CRowMarks.h"
#include "grid/ui/CPictureDragTable.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CDocumentHistory;
class CellValue;
class CItemsGridDrops;
class CItemsGridFind;
class CItemsGridIntegrity;
class CItemsGridKeys;
class CItemsGridMenu;
class CItemsGridModel;
class CItemsGridRowCommands;
class CResourceHolder;
class IPanelHost;
class QAction;
class QLabel;
class QToolBar;
class QMenu;
class QModelIndex;
class QSplitter;
class QTableView;

// The items grid of one resource group: one row per item, a row-number
// column, a "Select" column holding the row's mark, then the editor's own
// columns (here the ID and the Comments every item has), and beside it
// behind a splitter the editor's view. It carries the commands common to
// every group: insert, delete, move, group, sort, select, find, refresh.
//
// The grid is the widget and the editor's interface; each of its jobs is a
// class of its own: CItemsGridModel (cells for the table), CRowMarks (the
// marks), CItemsGridRowCommands (insert, delete, move, group, sort),
// CItemsGridFind (find and replace), CItemsGridDrops (files dropped),
// CItemsGridMenu and CItemsGridKeys (the context menu and the keys),
// CItemsGridIntegrity (the checks every group shares); CStepLock keeps the
// game step out of every change.
class CItemsGrid : public QWidget {
    Q_OBJECT
public:
    // Context menu commands; the editor's own entries start at kEditorBase.
    enum Command {
        CmdInsert = 1, CmdDelete = 2, CmdGroup = 3, CmdMoveUp = 4, CmdMoveDown = 5, CmdSelectAll = 6,
        CmdSelectInvert = 7, CmdSelectNone = 8, CmdRefresh = 9, CmdFindPrevious = 10, CmdFind = 11,
        CmdFindNext = 12, CmdSortAscending = 13, CmdSortDescending = 14, CmdClone = 15, CmdCopy = 16, CmdPaste = 17,
    };
    static constexpr int kEditorBase = 10000;
    static constexpr int kLeadingColumns = 2;
    // Rows are this tall at least (unless a panel sets its own default); a
    // cell with line breaks makes its row taller, up to kTallestRow, in
    // groups of up to kMeasuredRowsLimit items.
    static constexpr int kRowHeight = 22;
    static constexpr int kTallestRow = 96;
    static constexpr int kMeasuredRowsLimit = 500;
    static constexpr const char* kNewId = "New ID";
    static constexpr const char* kItemsMenuTip = "Display the contextual menu (Ctrl+Space)";

    explicit CItemsGrid(int group, QWidget* parent = nullptr);
    ~CItemsGrid() override;

    int group() const { return m_group; }
    void attach(CResourceHolder* holder, IPanelHost* host);
    CResourceHolder* holder() const { return m_holder; }
    // Item `item` of the grid's group as its kind, or nullptr.
    template <typename Item> Item* itemAs(int item) const { return dynamic_cast<Item*>(itemAt(item)); }
    CResourceItem* itemAt(int item) const;

    // --- what the document view uses -----------------------------------
    virtual void activate() {}
    virtual void deactivate() {}
    int rowCount() const;
    void selectRow(int item);
    int currentItem() const;
    void setCurrentCell(int column, int item);
    int currentColumn() const;
    bool isLocked() const { return m_stepLock.isLocked(); }
    // Held by every operation that changes items; views beside the grid
    // that edit items hold it too.
    CStepLock& stepLock() { return m_stepLock; }
    // Runs `apply` inside the panel's lock, as its own edits run (undo and
    // redo change rows the game step may be reading).
    void runLocked(const std::function<void()>& apply);
    // The history this panel's edits are recorded in, or null.
    CDocumentHistory* history() const;
    // Runs a game step unless the panel is inside an operation of its own;
    // called on the timer thread.
    bool runGameStep();
    virtual void showStep() {}
    // True while the view beside the grid plays something game steps move;
    // the document view runs its step timer only then, so that an idle
    // editor sleeps. A panel emits previewChanged when this may have changed.
    virtual bool previewPlays() const { return false; }
    // Its part of the integrity check: true when it passes.
    virtual bool check() { return true; }
    // Reads the document again and redraws every row.
    virtual void reload();

    // --- the editor's columns and item operations ------------------------
    virtual int editorColumnCount() const { return 2; }
    virtual QString editorHeader(int column) const;
    virtual QString editorCellText(int column, int item) const;
    virtual bool editorCellEditable(int column) const { return column >= 0; }
    // A typed cell (thumbnail, choice list, number...) drawn and edited by
    // its kind; false keeps the plain text cell of editorCellText.
    virtual bool editorCellValue(int /*column*/, int /*item*/, CellValue& /*value*/) const { return false; }
    // Stores an edited typed cell: 1 if stored. By default its text goes
    // through setEditorCell.
    virtual int setEditorCellValue(int column, int item, const CellValue& value);
    // Stores an edited text in the item: 1 if stored.
    virtual int setEditorCell(int column, int item, const QString& text);
    // False for a column whose edits act on something else than the
    // document (a sound's "Play" cell drives the player): they leave the
    // document unmodified.
    virtual bool editorCellChangesDocument(int /*column*/) const { return true; }
    // Copies the field of column from item `from` into item `to`: 1 if copied.
    virtual int copyEditorCell(int column, int to, int from);
    // A panel's own sort key of a cell, when its cells sort by something
    // else than their value or text: true with `rank` set. Two rows that
    // both have one sort by it (see CGridSortKeys). By default the
    // row-number column ranks rows by their number.
    virtual bool sortRank(int gridColumn, int item, double& rank) const;
    virtual int newItem();
    virtual int deleteItem(int item);
    virtual int moveItem(int from, int to);
    virtual int swapItems(int a, int b);
    // A command over many rows as one change (see CResourceHolder::rearrange):
    // what deleteItem, moveItem and swapItems one after another would do.
    virtual int rearrangeItems(const std::vector<int>& order);
    virtual void buildMenu(QMenu& /*menu*/, int /*base*/) {}
    virtual int command(int /*base*/, int /*chosen*/) { return 0; }
    virtual bool acceptsFiles() const { return false; }
    // Rows can be dragged out to the views of other panels (bitmaps onto
    // frames, maps and worlds; animations onto worlds).
    void setItemDrags(bool on);
    bool itemDrags() const { return m_itemDrags; }
    virtual int dropFile(const QString& /*path*/) { return 0; }
    // The view beside the grid follows the current row.
    virtual void reloadEditorView();

    // --- the common commands ---------------------------------------------
    QString gridCellText(int gridColumn, int item) const;
    int gridColumnCount() const { return kLeadingColumns + editorColumnCount(); }
    std::vector<int> selectionSet(bool ascending) const;
    // The same set in the order the rows were marked (rows marked together,
    // as by Select All, in row order), the unmarked current row last.
    std::vector<int> selectionInMarkOrder() const;
    int selectedCount() const;
    bool isMarked(int item) const;
    void setMarked(int item, bool marked);
    void selectAll();
    void selectNone();
    void selectInvert();
    void insertItem();
    void deleteItems();
    void moveUp();
    void moveDown();
    void groupItems();
    void sortItems(bool ascending);
    // One edit of a cell, stored in the current row then copied into every
    // other marked row.
    void editCell(int gridColumn, int item, const QString& text);
    void editCellValue(int gridColumn, int item, const CellValue& value);
    // Runs the search with the remembered options (or only those Find Next
    // and Find Previous use). True when something matched.
    bool find();
    bool findNext(bool backward);
    void showFindDialog();
    void refresh();
    void dropFiles(const QStringList& paths);
    bool runCommand(int command);
    // The context menu as it stands, for the "Items Menu" button, Ctrl+Space
    // and the grid's right button: it opens at `globalAt` (under the button,
    // at the pointer), by default at the current cell.
    void fillContextMenu(QMenu& menu);
    void showContextMenu(std::optional<QPoint> globalAt = std::nullopt);

    static CFindOptions& findOptions();

    QTableView* table() const { return m_table; }
    QSplitter* splitter() const { return m_splitter; }

signals:
    void selectionCountChanged(int count);
    void previewChanged();

protected:
    // A button beside "Items Menu" whose menu `build` fills (with entries
    // numbered from `base`, as buildMenu does); each entry runs through
    // command() as one step of the history.
    void addPanelMenuButton(const QString& text, std::function<void(QMenu& menu, int base)> build);

    // The operations that change items hold this, so that a game step on
    // the timer thread never reads arrays being resized.
    class CLock : public CStepLock::CHold {
    public:
        explicit CLock(CItemsGrid& grid) : CStepLock::CHold(grid.m_stepLock) {}
    };

    virtual bool gameStep() { return false; }
    // Part of the integrity check every group shares: no two items with the
    // same ID. Reports the first one found and answers false.
    bool checkUniqueIds();
    // Shows a finding of the integrity check on its item; answers false so
    // that a check can return it.
    bool reportFinding(int item, const QString& text);
    IPanelHost* host() const { return m_host; }
    // The pane beside the grid, for editors that show a picture or summary.
    QLabel* editorView() const { return m_editorView; }
    void markModified();
    void refreshRows();
    // Redraws the cells of one row after a view beside the grid changed it.
    void refreshRow(int item);
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    template <typename Store> void storeEdit(int gridColumn, int item, Store store);
    void fitRowHeights();
    int rowHeightHint(int row) const;
    void updateSelectedCount();
    // Marks sized to the rows, before any of them is written.
    CRowMarks& sizedMarks();

    int m_group;
    bool m_itemDrags = false;
    CResourceHolder* m_holder = nullptr;
    IPanelHost* m_host = nullptr;
    CRowMarks m_marks;
    CStepLock m_stepLock;
    CItemsGridModel* m_model;
    CPictureDragTable* m_table;
    QSplitter* m_splitter;
    QLabel* m_editorView;
    QLabel* m_selectedText;
    QToolBar* m_bar = nullptr;
    QAction* m_barSeparator = nullptr;
    std::unique_ptr<CItemsGridRowCommands> m_rowCommands;
    std::unique_ptr<CItemsGridFind> m_find;
    std::unique_ptr<CItemsGridDrops> m_drops;
    std::unique_ptr<CItemsGridMenu> m_menu;
    std::unique_ptr<CItemsGridIntegrity> m_integrity;
    CItemsGridKeys* m_keys;
    friend class CItemsGridModel;
    friend class CItemsGridRowCommands;
    friend class CItemsGridFind;
    friend class CItemsGridDrops;
    friend class CItemsGridMenu;
    friend class CItemsGridIntegrity;
};
