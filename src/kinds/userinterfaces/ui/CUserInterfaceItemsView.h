#pragma once

#include "grid/CellValue.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CCellDelegate;
class CInterfaceDialog;
class CResourceHolder;
class CUserInterfaceItemsModel;
class QIcon;
class QLabel;
class QMenu;
class QTableView;
class QVBoxLayout;
class UserInterface;
struct CMenuEntry;

// The "User Interface Items" editor beside the user interfaces grid: a grid
// of the items of the user interface shown, with its own insert, delete,
// move and swap, and below it the user interface as its test dialog would
// show it.
class CUserInterfaceItemsView : public QWidget {
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
    ~CUserInterfaceItemsView() override;

    // Shows the items of `ui` (none: an empty grid); `document` supplies the
    // pictures and the user interfaces "Buttons" items name.
    void showInterface(UserInterface* ui, const CResourceHolder* document);
    UserInterface* shownInterface() const;
    // Called after every change to the items.
    void setModifiedCallback(std::function<void()> modified) { m_modified = std::move(modified); }

    QString title() const;
    QTableView* table() const { return m_table; }
    int currentRow() const;
    std::vector<int> selectedRows() const;

    static QString header(int column);
    // The cell as the grid draws and edits it; false when the item does not
    // exist. The level is shown as typed, like the other texts.
    bool cellValue(int column, int row, CellValue& value) const;
    QString cellText(int column, int row) const;
    bool cellEditable(int column) const;
    // Stores an edited text in that row only: 1 if stored.
    int setCell(int column, int row, const QString& text);
    // What an edit in the grid does: stores the text in that row, then
    // copies the row's field into every other selected row. The number of
    // rows written; 0 when the edited row refused the text (nothing is
    // copied then).
    int editCell(int column, int row, const QString& text);

    // Item commands on the user interface shown; the new row or 1 on
    // success, -1 or 0 when nothing is shown or a row is out of range.
    int insertItem();
    int deleteItem(int row);
    int moveItem(int from, int to);
    int swapItems(int a, int b);

    void fillContextMenu(QMenu& menu);
    int runCommand(int command);

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
    QLabel* m_title;
    QTableView* m_table;
    CUserInterfaceItemsModel* m_model;
    CCellDelegate* m_delegate;
    std::map<std::pair<int, int>, CellValue> m_cells; // by row and column
    QVBoxLayout* m_sideLayout;
    CInterfaceDialog* m_side = nullptr;
    friend class CUserInterfaceItemsModel;
};
