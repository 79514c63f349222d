#pragma once

#include "grid/ui/CTypedItemsGrid.h"

class CMapItem;

// The Maps group's grid: ID, type, size in cells (resizing asks before it
// cuts cells away), cell size and comments; beside it the current map.
class CMapsPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum ColumnIndex { ColId, ColType, ColColumns, ColLines, ColSizeX, ColSizeY, ColSpecs, ColComments };
    // The preview never draws a picture larger than this on either side.
    static constexpr int kMaxPreviewSide = 2048;

    explicit CMapsPanel(QWidget* parent = nullptr);

    void buildMenu(QMenu& menu, int base) override { addEmptyMenu(menu, base); }
    void reloadEditorView() override;
    // Unique IDs, and no bitmap index naming a bitmap that does not exist.
    bool check() override;

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;
};
