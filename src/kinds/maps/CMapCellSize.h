#pragma once

#include <QSize>

#include <string>

class CMapItem;
class CResourceHolder;

// A map's cell size against the bitmaps painted into it. A map that holds
// no bitmap yet takes its cell size from the first one it is given, so a
// new map of 16-pixel tiles does not stretch them to the default cells; a
// bitmap of another size than the cells is drawn stretched, which the
// editor says.
class CMapCellSize {
public:
    // The picture size of bitmap `value`; empty for -1, a missing bitmap or
    // one without pixels.
    static QSize bitmapSize(const CResourceHolder& document, int value);
    // True when every cell of the map is empty.
    static bool holdsNoBitmap(const CMapItem& map);
    // Gives an empty map the cell size of bitmap `value`: true when the
    // size changed.
    static bool takeFromBitmap(CMapItem& map, const CResourceHolder& document, int value);
    // What the editor says after a map took its size ("Cells set to
    // 16 x 16, the size of grass"), and when bitmap `value` does not fit the
    // cells ("grass is 16 x 24 but the cells are 32 x 32: it is drawn
    // stretched"); empty when it fits or names no bitmap.
    static std::string takenText(const CResourceHolder& document, const CMapItem& map, int value);
    static std::string misfitText(const CResourceHolder& document, const CMapItem& map, int value);
};
