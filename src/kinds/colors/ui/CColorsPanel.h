#pragma once

#include "grid/ui/CItemsGrid.h"

#include <optional>

class CColorItem;
class CColorSwatchView;
class CTypedCellColumn;

// The Colors group: ID, the colour with its alpha (a colour cell), its
// Specifications text and the comments; beside the grid a swatch of every
// selected colour.
class CColorsPanel : public CItemsGrid {
    Q_OBJECT
public:
    enum Column { ColId = 0, ColColor = 1, ColSpecs = 2, ColComments = 3 };
    static constexpr const char* kEmptyEntry = "Empty";
    static constexpr const char* kEmptyHelp = "Empty menu";

    explicit CColorsPanel(QWidget* parent = nullptr);

    int editorColumnCount() const override { return 4; }
    QString editorHeader(int column) const override;
    QString editorCellText(int column, int item) const override;
    bool editorCellEditable(int column) const override;
    int setEditorCell(int column, int item, const QString& text) override;
    int copyEditorCell(int column, int to, int from) override;
    bool sortRank(int gridColumn, int item, double& rank) const override;
    void buildMenu(QMenu& menu, int base) override;
    void reloadEditorView() override;
    // Colours name nothing else: only their IDs can clash.
    bool check() override { return checkUniqueIds(); }

    // The colour cell's text "(AA)  RR GG BB" read back as RGB 0x00BBGGRR
    // and alpha; a plain number is taken as RGB with `alpha` kept.
    struct Color {
        std::int32_t rgb = 0;
        int alpha = 255;
    };
    static std::optional<Color> parseColorText(const QString& text, int alpha);

    CColorSwatchView* swatchView() const { return m_swatches; }

private:
    CTypedCellColumn* m_colorColumn;
    CColorSwatchView* m_swatches;
};
