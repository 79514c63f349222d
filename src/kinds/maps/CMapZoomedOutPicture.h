#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QTransform>

#include <vector>

class CMapItem;
class CResourceHolder;

// A map's cells as a canvas shows them zoomed out, where a cell takes a few
// pixels or less and drawing each tile would cost what the map holds: each
// canvas pixel takes the colour that the point under its centre has in its
// cell's tile, scaled down once to the cell's size on the canvas. Making the
// picture costs what the canvas holds, whatever the size of the map; it is
// kept for the repaints that follow, and a stroke only has the pixels of the
// cells it changed taken again.
class CMapZoomedOutPicture {
public:
    // Tiles larger than this are drawn one by one instead.
    static constexpr qint64 kMaxTilePixels = 4 * 1024 * 1024;

    // Whether `view` (map pixels to canvas pixels) shrinks the map without
    // turning it.
    static bool appliesTo(const QTransform& view);

    // The cells of `map` on a canvas of `size` seen through `view`,
    // transparent where no tile is; brought up to date first. Null when the
    // view does not zoom out or the tiles are too large to scale.
    const QImage* picture(const CMapItem& map, const CResourceHolder& document, const QTransform& view, QSize size);
    // Cells (a rectangle of columns and lines) whose values changed.
    void cellsChanged(const QRect& cells);
    // The tiles themselves may have changed: everything is made again.
    void clear();

private:
    bool sameScene(const CMapItem& map, const QTransform& view, QSize size) const;
    void sample(const CMapItem& map, const CResourceHolder& document, const QRect& pixels);
    const QImage* tile(const CResourceHolder& document, int value);

    const CMapItem* m_map = nullptr;
    int m_columns = 0;
    int m_lines = 0;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    QTransform m_view;
    QImage m_picture;
    // Canvas pixels to take again.
    QRect m_stale;
    // Each bitmap's tile at the cell size on the canvas, made when first met.
    std::vector<QImage> m_tiles;
    std::vector<bool> m_tileMade;
};
