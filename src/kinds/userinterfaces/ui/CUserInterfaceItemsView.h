#pragma once

#include "grid/ui/CSideGrid.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CInterfaceDialog;
class CResourceHolder;
class QIcon;
class QVBoxLayout;
class UserInterface;
struct CMenuEntry;

// The "User Interface Items" editor beside the user interfaces grid: a grid
// of the items of the user interface shown, with its own insert, delete,
// move and swap, and below it the user interface as its test dialog would
// show it.
class CUserInterfaceItemsView : public CSideGrid {
    Q_OBJECT
public:
    enum Column {
        ColIndex = 0, ColId, ColType, ColTitle, ColDefault, ColMinimum, ColMaximum, ColLevel, ColImage, ColStates,
        ColAdvanced, ColHelp, ColSpecs, ColComments, ColumnCount
    };
    enum Command { CmdTestMenu = 1, CmdTestDialog = 2 };
    static constexpr const char* kDefaultTitle = "User Interface Items";
    static constexpr const char* kTestMenuEntry = "Test as &Menu";
    static constexpr const char* kTestMenuHelp = "Test the user interface in a menu";
    static constexpr const char* kTestDialogEntry = "Test as &Dialog";
    static constexpr const char* kTestDialogHelp = "Test the user interface in a dialog";

    explicit CUserInterfaceItemsView(QWidget* parent = nullptr);

    // Shows the items of `ui` (none: an empty grid); `document` supplies the
    // pictures and the user interfaces "Buttons" items name.
    void showInterface(UserInterface* ui, const CResourceHolder* document);
    UserInterface* shownInterface() const;
    // Called after every change to the items.
    void setModifiedCallback(std::function<void()> modified) { m_modified = std::move(modified); }

    static QString header(int column);
    int rowTotal() const override;
    int columnTotal() const override { return ColumnCount; }
    QString headerText(int column) const override { return header(column); }
    // The cell as the grid draws and edits it; false when the item does not
    // exist. The level is shown as typed, like the other texts.
    bool cellValue(int column, int row, CellValue& value) const override;
    QString cellText(int column, int row) const override;
    bool cellEditable(int column) const;
    // Stores an edited text in that row only: 1 if stored.
    int setCell(int column, int row, const QString& text);
    // What an edit in the grid does: stores the text in that row, then
    // copies the row's field into every other selected row. The number of
    // rows written; 0 when the edited row refused the text (nothing is
    // copied then).
    int editCell(int column, int row, const QString& text);
    int editCellText(int column, int row, const QString& text) override { return editCell(column, row, text); }

    // Item commands on the user interface shown; the new row or 1 on
    // success, -1 or 0 when nothing is shown or a row is out of range.
    int insertItem();
    int deleteItem(int row);
    int moveItem(int from, int to);
    int swapItems(int a, int b);


    // The test menu of the user interface shown, and the action of the item
    // chosen in it is only reported (on the status line).
    std::unique_ptr<QMenu> buildTestMenu() const;
    // The test dialog ("Test Dialog"), not yet shown; nullptr when nothing
    // is shown.
    std::unique_ptr<CInterfaceDialog> buildTestDialog(QWidget* parent) const;
    CInterfaceDialog* sideDialog() const { return m_side; }

    // Says on the status line which item of the test menu was chosen.
    void reportChosen(int itemIndex);

signals:
    // An entry of the test menu was chosen (it is then reported).
    void itemChosen(int itemIndex);

protected:
    void storeEditedCell(int column, int row, const CellValue& edited) override;
    bool canInsertRow() const override { return m_ui != nullptr; }
    int insertRow() override { return insertItem(); }
    int deleteRow(int row) override { return deleteItem(row); }
    int moveRow(int from, int to) override { return moveItem(from, to); }
    int swapRows(int a, int b) override { return swapItems(a, b); }
    void addOwnEntries(QMenu& menu) override;
    int runOwnCommand(int command) override;

private:
    // The picture of the bitmap of that ID; none when there is no such
    // bitmap.
    QIcon pictureIcon(const std::string& bitmapId) const;
    // Writes the text into the row's field, with no redraw or notice.
    bool storeText(int column, int row, const std::string& text);
    void changed();
    void rebuildSide();
    void addEntries(QMenu& menu, const std::vector<CMenuEntry>& entries) const;

    UserInterface* m_ui = nullptr;
    const CResourceHolder* m_document = nullptr;
    std::vector<std::string> m_typeTexts;
    std::function<void()> m_modified;
    QVBoxLayout* m_sideLayout;
    CInterfaceDialog* m_side = nullptr;
};
