#pragma once

#include "core/CDocumentHistory.h"
#include "grid/ui/CTypedItemsGrid.h"

#include <memory>

class CMapEditor;
class CMapItem;

// The Maps group's grid: ID, type, size in cells (resizing asks before it
// cuts cells away), cell size and comments; beside it the map editor, whose
// strokes are edits of the document like the grid's.
class CMapsPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum ColumnIndex { ColId, ColType, ColColumns, ColLines, ColSizeX, ColSizeY, ColSpecs, ColComments };
    explicit CMapsPanel(QWidget* parent = nullptr);

    // Exchange with Tiled, on the panel's "Tiled" button: the current map
    // out as a .tmx, a .tmx's tile layer in as a new map.
    enum ExchangeEntry { MenuExportTiled = 100, MenuImportTiled };
    static constexpr const char* kTiledFilter = "Tiled Maps\n*.tmx\n\n";
    void buildMenu(QMenu& menu, int base) override { addEmptyMenu(menu, base); }
    void buildExchangeMenu(QMenu& menu, int base);
    int command(int base, int chosen) override;
    void reloadEditorView() override;
    // Unique IDs, and no bitmap index naming a bitmap that does not exist.
    bool check() override;
    CMapEditor* editor() const { return m_editor; }

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;

private:
    CMapEditor* m_editor;
};
