#pragma once

#include "core/CDocumentHistory.h"
#include "grid/ui/CTypedItemsGrid.h"

#include <memory>

#include <string>

class CBitmapItem;
class CBitmapOffsetPane;

// The Bitmaps group's grid: the picture's kind, thumbnail, sizes, offsets,
// source and memory figures; inserting and dropping image files; the pixel
// commands and the animation built from the selected bitmaps. Beside it the
// preview, where the offsets of the current and selected bitmaps are set
// with the mouse.
class CBitmapsPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum ColumnIndex {
        ColId, ColType, ColThumbnail, ColWidth, ColHeight, ColOffsetX, ColOffsetY, ColExtra, ColSourceFilename,
        ColSourceBytes, ColGameMemory, ColSpecs, ColComments,
    };
    // The group's own menu entries, as offsets from the editor's base.
    enum MenuEntry {
        MenuCrop = 0, MenuSetAlpha = 1, MenuChangeColor = 2, MenuReload = 3, MenuSaveSource = 4,
        MenuMakeAnimation = 5, MenuViewWithoutAlpha = 6, MenuViewOnlyAlpha = 7,
    };
    static constexpr const char* kImageFilter =
        "Windows Images Files (*.bmp;*.jpg;*.png;*.tif;*.gif;*.exif;*.ico;*.wmf;*.emf)\n"
        "*.bmp;*.jpg;*.png;*.tif;*.gif;*.exif;*.ico;*.wmf;*.emf\n\n";
    static constexpr const char* kInsertTitle = "Insert Image(s) Filename(s)";
    static constexpr const char* kReloadTitle = "Load Image Source Filename";

    explicit CBitmapsPanel(QWidget* parent = nullptr);

    int newItem() override;
    bool acceptsFiles() const override { return true; }
    int dropFile(const QString& path) override;
    void buildMenu(QMenu& menu, int base) override;
    int command(int base, int chosen) override;
    void reloadEditorView() override;
    bool check() override { return checkUniqueIds(); }
    CBitmapOffsetPane* offsetPane() const { return m_pane; }

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;

private:
    int setAlphaToColor();
    int changeColor();
    int reloadImageSource();
    int makeAnimation();

    CBitmapOffsetPane* m_pane;
};
