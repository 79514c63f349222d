#pragma once

#include "grid/ui/CTypedItemsGrid.h"

class CAnimationFrameEditor;
class CAnimationItem;

// The Animations group's grid: ID, type, play mode, frame count and
// comments; beside it the frame editor of the current animation, whose
// preview plays on the game step clock.
class CAnimationsPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum ColumnIndex { ColId, ColType, ColPlayMode, ColSpecs, ColComments };

    explicit CAnimationsPanel(QWidget* parent = nullptr);

    // Sprite sheets, on the panel's "Sprite Sheet" button: the current
    // animation out as a picture and its JSON description, a sheet and its
    // description in as a new animation.
    enum ExchangeEntry { MenuExportSheet = 100, MenuImportSheet, MenuExportGif, MenuExportApng };
    static constexpr const char* kSheetFilter = "Sprite Sheets\n*.png\n\n";
    static constexpr const char* kGifFilter = "Animated GIF\n*.gif\n\n";
    static constexpr const char* kApngFilter = "Animated PNG\n*.png;*.apng\n\n";
    void buildMenu(QMenu& menu, int base) override { addEmptyMenu(menu, base); }
    void buildExchangeMenu(QMenu& menu, int base);
    int command(int base, int chosen) override;
    void reloadEditorView() override;
    // Unique IDs, and no bitmap index naming a bitmap that does not exist.
    bool check() override;
    void showStep() override;
    bool previewPlays() const override;

    CAnimationFrameEditor* frameEditor() const { return m_editor; }

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;
    bool gameStep() override;

private:
    CAnimationFrameEditor* m_editor;
};
