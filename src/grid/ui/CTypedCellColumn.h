#pragma once

#include "grid/CellValue.h"

#include <QObject>

#include <functional>

class CCellDelegate;
class CItemsGrid;

// One column of a panel's grid drawn and edited as a typed cell (a colour,
// a choice) instead of plain text. The panel fills the value for a row; an
// edit goes back to the grid as the value's text, so that it takes the same
// path as any other edit (stored, copied into every marked row, document
// marked modified) and the panel's text form of the field stays the one
// place that parses it.
class CTypedCellColumn : public QObject {
    Q_OBJECT
public:
    using Fill = std::function<void(int item, CellValue& value)>;

    // Installs itself on `editorColumn` (the panel's own numbering).
    CTypedCellColumn(CItemsGrid& grid, int editorColumn, Fill fill);

    CCellDelegate* delegate() const { return m_delegate; }
    // The value the column shows for `item` (refilled on every call).
    const CellValue& valueOf(int item) const;

private:
    CItemsGrid& m_grid;
    int m_gridColumn;
    Fill m_fill;
    mutable CellValue m_value;
    CCellDelegate* m_delegate;
};
