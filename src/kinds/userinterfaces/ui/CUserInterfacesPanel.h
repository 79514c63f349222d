#pragma once

#include "grid/ui/CTypedItemsGrid.h"

#include <string>
#include <vector>

class CUserInterfaceItemsView;
class UserInterface;

// The User Interfaces group: ID, type, Specifications and comments; beside
// the grid the items of the current user interface with their own grid and
// its test dialog.
class CUserInterfacesPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum Column { ColId = 0, ColType = 1, ColSpecs = 2, ColComments = 3 };

    explicit CUserInterfacesPanel(QWidget* parent = nullptr);

    void buildMenu(QMenu& menu, int base) override;
    void reloadEditorView() override;
    // Passes when no two user interfaces share an ID and no item names a
    // picture or a user interface that does not exist; otherwise reports
    // the first finding, with that item selected.
    bool check() override;

    CUserInterfaceItemsView* itemsView() const { return m_items; }

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;

private:
    std::vector<std::string> m_typeTexts;
    CUserInterfaceItemsView* m_items;
};
