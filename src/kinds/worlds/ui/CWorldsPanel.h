#pragma once

#include "grid/ui/CTypedItemsGrid.h"

#include <string>
#include <vector>

class CWorldElementsView;
class GameWorld;

// The Game Worlds group: ID, type, play offset and speed (in percent),
// offsets, Specifications and comments; beside the grid the elements of
// the current world with their preview. World references always follow
// deletes, moves and swaps, whatever the relationships switch says.
class CWorldsPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum Column {
        ColId = 0, ColType = 1, ColPlayOffset = 2, ColPlaySpeed = 3, ColOffsetX = 4, ColOffsetY = 5, ColSpecs = 6,
        ColComments = 7
    };

    explicit CWorldsPanel(QWidget* parent = nullptr);

    int newItem() override;
    int deleteItem(int item) override;
    int moveItem(int from, int to) override;
    int swapItems(int a, int b) override;
    int rearrangeItems(const std::vector<int>& order) override;
    void buildMenu(QMenu& menu, int base) override;
    // The panel's "Tiled" button: the current world's layout as a Tiled map.
    enum ExchangeEntry { MenuExportTiled = 100 };
    int command(int base, int chosen) override;
    void reloadEditorView() override;
    void showStep() override;
    bool previewPlays() const override;
    // Passes when no two worlds share an ID, no world includes itself
    // through its elements and every element names an object and a
    // trajectory that exist (or none); otherwise reports the first finding,
    // with that element selected.
    bool check() override;

    CWorldElementsView* elementsView() const { return m_elements; }

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;
    bool gameStep() override;

private:
    GameWorld* worldAt(int item) const;
    // After a change of rows the preview is rebuilt at once: its instances
    // name worlds by row.
    void rowsChanged();

    std::vector<std::string> m_typeTexts;
    CWorldElementsView* m_elements;
};
