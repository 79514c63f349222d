#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

class CMapItem;

// What the map editor's pen lays down: a rectangle of cell values, one cell
// (the picker's bitmap, or the empty cell for the eraser) or several taken
// from the map with the right button. Laid over a larger area it repeats,
// counted from an anchor cell, so a stroke or a fill with a stamp of
// several cells draws its pattern without seams.
class CMapStamp {
public:
    // One cell of `value`.
    explicit CMapStamp(int value = -1) : m_size(1, 1), m_values{value} {}
    // The cells of the rectangle with corners a and b (inclusive, clamped to
    // the map), as they are now; a map without cells gives one empty cell.
    static CMapStamp fromMap(const CMapItem& map, QPoint a, QPoint b);

    QSize size() const { return m_size; }
    bool isSingle() const { return m_size == QSize(1, 1); }
    // The value at (x, y) of the stamp laid with its top-left cell at
    // `anchor`, repeating in every direction.
    int valueAt(QPoint cell, QPoint anchor = {0, 0}) const;
    // The top-left cell of the copy that covers `cell` when copies are laid
    // side by side from `anchor`.
    QPoint copyAt(QPoint cell, QPoint anchor) const;
    // The cells a copy laid at `topLeft` covers.
    QRect cellsAt(QPoint topLeft) const { return {topLeft, m_size}; }

    bool operator==(const CMapStamp& other) const { return m_size == other.m_size && m_values == other.m_values; }

private:
    QSize m_size;
    // Line by line.
    std::vector<int> m_values;
};
