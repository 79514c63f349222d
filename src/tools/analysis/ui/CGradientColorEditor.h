#pragma once

#include "tools/analysis/CGradientColorMap.h"

#include <QDialog>

class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// "Gradient Color Editor": the stops of a gradient colour map in a grid
// (Position, Red, Green, Blue) over a strip that shows the whole map. The
// first and the last stop hold the ends of the map and cannot be moved or
// removed. Edits are clamped as the map clamps them and the grid shows the
// result at once; OK hands the edited map back.
class CGradientColorEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Gradient Color Editor";

    explicit CGradientColorEditor(const CGradientColorMap& map, QWidget* parent = nullptr);

    const CGradientColorMap& map() const { return m_map; }
    QTableWidget* grid() const { return m_grid; }
    QWidget* strip() const { return m_strip; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* removeButton() const { return m_remove; }

    // What the Position cell of a stop shows.
    static QString positionText(const CGradientColorMap& map, std::size_t index);

    // A new stop halfway between the selected stop and the next one; it
    // becomes the selection.
    void addStop();
    // The selected stop, unless it is an end.
    void removeStop();

private:
    void fill();
    void onCellEdited(QTableWidgetItem* item);
    void select(std::size_t index);
    std::size_t selectedStop() const;

    CGradientColorMap m_map;
    QTableWidget* m_grid;
    QWidget* m_strip;
    QPushButton* m_add;
    QPushButton* m_remove;
    bool m_filling = false;
};
