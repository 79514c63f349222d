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
    // are a fault. A reference to an ID that no record has is not: it
    // expands to nothing by design.
    bool check() override { return checkUniqueIds(); }

    CTitledTextView* preview() const { return m_preview; }

protected:
    bool fillCell(int column, int item, CellValue& value) const override;
    int storeCell(int column, int item, const CellValue& value) override;

private:
    void takeGuiColors();

    CTitledTextView* m_preview;
};
