#pragma once

#include "grid/ui/CSideGrid.h"
#include "kinds/worlds/ui/CWorldPreview.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CItemsDropTarget;
class CResourceHolder;
class CStepLock;
class GameWorld;
class IPrompter;
class QTimer;
class WorldInstance;

// The "Game Worlds Elements" editor beside the worlds grid: a grid of the
// elements of the world shown and a preview playing that world. Changes
// that can alter the picture rebuild the preview after a short delay, so
// that a run of edits rebuilds it once.
class CWorldElementsView : public CSideGrid, private IWorldPreviewHost {
    Q_OBJECT
public:
    enum Column {
        ColIndex = 0, ColId = 1, ColShow = 2, ColPlay = 3, ColPlayOffset = 4, ColPlaySpeed = 5, ColOffsetX = 6,
        ColOffsetY = 7, ColSpacer1 = 8, ColObjectType = 9, ColObjectIndex = 10, ColObjectPlayOffset = 11,
        ColObjectPlaySpeed = 12, ColSpacer2 = 13, ColTrajectoryIndex = 14, ColTrajectoryPlayOffset = 15,
        ColTrajectoryPlaySpeed = 16, ColSpacer3 = 17, ColSpecs = 18, ColComments = 19, ColumnCount = 20
    };
    enum Command { CmdSortByOffsetY = 1 };
    static constexpr const char* kDefaultTitle = "Game Worlds Elements";
    static constexpr const char* kSortEntry = "Sort Selected Items by Offset Y";
    static constexpr const char* kSortHelp = "Build drawing priorities";
    static constexpr int kRefreshDelayMs = 500;
    // Percent cells (speeds) are kept within this many percent either way.
    static constexpr double kSpeedLimit = 10000.0;

    explicit CWorldElementsView(QWidget* parent = nullptr);
    ~CWorldElementsView() override;

    // Shows the elements of world `worldIndex` of `document` (-1: none) and
    // rebuilds the preview at once.
    void showWorld(CResourceHolder* document, int worldIndex);
    int worldIndex() const { return m_worldIndex; }
    GameWorld* world() const;
    void setModifiedCallback(std::function<void()> modified) { m_modified = std::move(modified); }

    CWorldPreview* preview() const { return m_preview; }

    static QString header(int column);
    int rowTotal() const override;
    int columnTotal() const override { return ColumnCount; }
    QString headerText(int column) const override { return header(column); }
    // The typed value of a cell; false when the element does not exist.
    bool cellValue(int column, int row, CellValue& value) const override;
    QString cellText(int column, int row) const override;
    // Stores an edited value in that row only (object type and index through
    // the loop guard): 1 if the value asked for was stored.
    int storeCell(int column, int row, const CellValue& value);
    int setCellText(int column, int row, const QString& text);
    // What an edit in the grid does: stores the value in that row, then the
    // same value into every other selected row, each through the loop guard
    // where the column has one. A row that refuses keeps its value; each
    // different refusal message is shown once. The number of rows that took
    // the value; 0 when the edited row refused it (nothing is copied then).
    // An object type that the guard keeps but whose index it clears counts
    // as taken: the type asked for is there.
    int editCell(int column, int row, const CellValue& value);
    int editCellText(int column, int row, const QString& text) override;

    int insertElement();
    int deleteElement(int row);
    int moveElement(int from, int to);
    int swapElements(int a, int b);
    // Bitmaps and animations dropped on the preview become elements at the
    // drop point (the panel's `lock` held while dropped files are read).
    void acceptDrops(CStepLock& lock);
    CItemsDropTarget* dropTarget() const { return m_drops; }
    // One element per row of `group` (bitmaps or animations), named after
    // the item, the first with its offset at the world point under preview
    // pixel `at`, the others each kDropSpacing further right; they are
    // selected. False when nothing was added.
    bool placeObjects(int group, const std::vector<int>& rows, QPoint at);
    static constexpr int kDropSpacing = 16;

    // Sorts the selected rows by Offset Y: 1 when the order changed.
    int sortSelectedByOffsetY();


    // The delayed refresh: pending after a change, done when it fires.
    bool refreshPending() const;
    void scheduleRefresh();
    void refreshNow();
    // A game step of the preview (any thread).
    bool step(double length);
    // The preview's instance, read under its lock.
    template <typename F> void withInstance(F f) const
    {
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        f(*m_instance);
    }

protected:
    void storeEditedCell(int column, int row, const CellValue& edited) override { editCell(column, row, edited); }
    bool canInsertRow() const override { return world() != nullptr; }
    int insertRow() override { return insertElement(); }
    int deleteRow(int row) override { return deleteElement(row); }
    int moveRow(int from, int to) override { return moveElement(from, to); }
    int swapRows(int a, int b) override { return swapElements(a, b); }
    void addOwnEntries(QMenu& menu) override;
    int runOwnCommand(int command) override;

private:
    void withPreviewInstance(const std::function<void(const WorldInstance&)>& use) const override { withInstance(use); }
    int currentElementRow() const override { return currentRow(); }
    std::vector<int> selectedElementRows() const override { return selectedRows(); }
    void moveElementOffsets(const std::vector<int>& rows, QPoint delta, bool toZero) override;
    void selectElementRow(int row) override;
    void deleteElementRows(const std::vector<int>& rows) override;
    QRect pathBounds(QPoint drawingPoint) const override;

    // Writes the value into the row's element with no redraw or notice;
    // the loop guard tells its refusals to `prompter`. `written` is set when
    // anything of the element changed, even if the value was then refused.
    int storeValue(int column, int row, const CellValue& value, IPrompter& prompter, bool& written);
    void changed(bool affectsPicture);
    bool cellAffectsPicture(int column, int row) const;
    void reloadRows();

    CResourceHolder* m_document = nullptr;
    int m_worldIndex = -1;
    std::function<void()> m_modified;
    std::vector<std::string> m_typeTexts;
    CWorldPreview* m_preview;
    CItemsDropTarget* m_drops = nullptr;
    QTimer* m_refresh;
    mutable std::mutex m_instanceMutex;
    std::unique_ptr<WorldInstance> m_instance;
};
