#pragma once

#include <QWidget>

#include <vector>

class CColorItem;

// Swatches of the selected colours, one cell each in selection order. A
// cell large enough holds a sample rectangle: the colour laid over white
// and over black in its upper half, the colour with its alpha over a
// checkerboard in its lower half, so that transparency can be judged. The
// colour's ID is written over the cell in black or white, whichever stands
// out.
class CColorSwatchView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSampleTop = 20;
    static constexpr int kSampleInset = 8;

    explicit CColorSwatchView(QWidget* parent = nullptr);

    // The items are not owned; the panel sets them again on every change.
    void setColors(std::vector<const CColorItem*> colors);
    const std::vector<const CColorItem*>& colors() const { return m_colors; }

    // How `count` cells share a rectangle: near-square columns and rows,
    // filled row by row.
    static std::vector<QRect> cellRects(const QRect& area, int count);
    // The sample rectangle of a cell, or an empty one when the cell is too
    // small for it (not more than 48 high and 32 wide).
    static QRect sampleRect(const QRect& cell);
    // Draws one swatch cell (and its sample) into `painter`.
    static void paintSwatch(QPainter& painter, const QRect& cell, const CColorItem& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<const CColorItem*> m_colors;
};
