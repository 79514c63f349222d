#pragma once

#include <string>

class CMapItem;
class CResourceHolder;

// What the map editor shows beside the canvas, and how its picker rows map to
// the value painted into cells: row 0 is the empty cell, row r the bitmap
// r - 1.
class CMapEditorTexts {
public:
    static constexpr const char* kEmptyCellText = "Empty / Transparent";

    // The picker has one row per bitmap plus the empty row.
    static int pickerRowCount(const CResourceHolder& document);
    // "%d - %s": "-1 - Empty / Transparent", then index and ID of each bitmap.
    static std::string pickerRow(const CResourceHolder& document, int row);
    static int paintValueForRow(int row) { return row - 1; }
    // The picker row a picked cell value selects; -1 when the value names no
    // row of the picker.
    static int rowForValue(const CResourceHolder& document, int value);
    // "%d, %d (%d, %d)": the current cell, then the map's columns and lines.
    static std::string statusText(int column, int line, const CMapItem& map);
};
