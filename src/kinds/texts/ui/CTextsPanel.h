#pragma once

#include "grid/ui/CTypedItemsGrid.h"

class CTextItem;
class CTitledTextView;

// The Texts and Parameters group: ID, text and comments; beside the grid the
// current record's ID and its text with every "[ID]" reference expanded.
class CTextsPanel : public CTypedItemsGrid {
    Q_OBJECT
public:
    enum Column { ColId = 0, ColText = 1, ColComments = 2 };

    explicit CTextsPanel(QWidget* parent = nullptr);

    void buildMenu(QMenu& menu, int base) override;
    void reloadEditorView() override;
    // Texts and parameters are looked up by ID, so two records with one ID
    // are a fault. So is a reference to an ID no record has: it expands to
    // nothing, which is what a renamed text leaves behind.
    bool check() override { return checkUniqueIds() && checkReferences(); }
    static constexpr const char* kMissingReference =
        "The text \"%1\" (item %2) refers to \"[%3]\", but no text has the ID \"%3\".";

    CTitledTextView* preview() const { return m_preview; }

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;

private:
    bool checkReferences();
    void takeGuiColors();

    CTitledTextView* m_preview;
};
