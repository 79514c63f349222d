#include "kinds/maps/CMapZoomedOutPicture.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/maps/CMapItem.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {
// Where each pixel of a row (or column) of the canvas falls: the map's column
// (or line), -1 outside the map, and the pixel of the scaled tile.
std::vector<std::pair<int, int>> pixelsToCells(int first, int count, double scale, double shift, int cellSize,
                                               int cells, int tileSize)
{
    std::vector<std::pair<int, int>> at(static_cast<std::size_t>(count), {-1, 0});
    for (int i = 0; i < count; ++i) {
        const double x = (first + i + 0.5 - shift) / scale;
        const double cell = std::floor(x / cellSize);
        if (x < 0 || cell >= cells)
            continue;
        const int inTile = static_cast<int>((x - cell * cellSize) * tileSize / cellSize);
        at[static_cast<std::size_t>(i)] = {static_cast<int>(cell), std::min(inTile, tileSize - 1)};
    }
    return at;
}

int scaledSize(int size, double scale) { return std::max(1, static_cast<int>(std::ceil(size * scale))); }
} // namespace

bool CMapZoomedOutPicture::appliesTo(const QTransform& view)
{
    return view.type() <= QTransform::TxScale && view.m11() > 0 && view.m11() < 1 && view.m22() > 0 && view.m22() < 1;
}

bool CMapZoomedOutPicture::sameScene(const CMapItem& map, const QTransform& view, QSize size) const
{
    return m_map == &map && m_columns == map.columnCount() && m_lines == map.lineCount()
           && m_cellWidth == map.cellWidth() && m_cellHeight == map.cellHeight() && m_view == view
           && !m_picture.isNull() && m_picture.size() == size;
}

const QImage* CMapZoomedOutPicture::picture(const CMapItem& map, const CResourceHolder& document,
                                            const QTransform& view, QSize size)
{
    if (!appliesTo(view) || size.isEmpty() || map.cellWidth() <= 0 || map.cellHeight() <= 0
        || qint64(map.cellWidth()) * map.cellHeight() > kMaxTilePixels)
        return nullptr;
    if (!sameScene(map, view, size)) {
        // Scrolling keeps the tiles; another map, cell size or zoom does not.
        const bool sameTiles = m_map == &map && m_cellWidth == map.cellWidth() && m_cellHeight == map.cellHeight()
                               && m_view.m11() == view.m11() && m_view.m22() == view.m22();
        if (!sameTiles) {
            m_tiles.assign(static_cast<std::size_t>(std::max(document.count(GroupBitmaps), 0)), QImage());
            m_tileMade.assign(m_tiles.size(), false);
        }
        m_map = &map;
        m_columns = map.columnCount();
        m_lines = map.lineCount();
        m_cellWidth = map.cellWidth();
        m_cellHeight = map.cellHeight();
        m_view = view;
        m_picture = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_stale = m_picture.rect();
    }
    if (!m_stale.isEmpty()) {
        sample(map, document, m_stale);
        m_stale = QRect();
    }
    return &m_picture;
}

void CMapZoomedOutPicture::cellsChanged(const QRect& cells)
{
    if (m_picture.isNull() || cells.isEmpty())
        return;
    const QRectF area(double(cells.left()) * m_cellWidth, double(cells.top()) * m_cellHeight,
                      double(cells.width()) * m_cellWidth, double(cells.height()) * m_cellHeight);
    m_stale = m_stale.united(m_view.mapRect(area).toAlignedRect().adjusted(-1, -1, 1, 1).intersected(m_picture.rect()));
}

void CMapZoomedOutPicture::clear()
{
    m_map = nullptr;
    m_picture = QImage();
    m_stale = QRect();
    m_tiles.clear();
    m_tileMade.clear();
}

void CMapZoomedOutPicture::sample(const CMapItem& map, const CResourceHolder& document, const QRect& pixels)
{
    const QRect area = pixels.intersected(m_picture.rect());
    if (area.isEmpty())
        return;
    const int tileWidth = scaledSize(m_cellWidth, m_view.m11());
    const int tileHeight = scaledSize(m_cellHeight, m_view.m22());
    const auto columns =
        pixelsToCells(area.left(), area.width(), m_view.m11(), m_view.dx(), m_cellWidth, m_columns, tileWidth);
    const auto lines =
        pixelsToCells(area.top(), area.height(), m_view.m22(), m_view.dy(), m_cellHeight, m_lines, tileHeight);
    for (int j = 0; j < area.height(); ++j) {
        auto* row = reinterpret_cast<QRgb*>(m_picture.scanLine(area.top() + j)) + area.left();
        const auto [line, tileLine] = lines[static_cast<std::size_t>(j)];
        // Neighbouring pixels mostly fall on cells of the same value.
        int value = INT_MIN;
        const QRgb* tileRow = nullptr;
        for (int i = 0; i < area.width(); ++i) {
            const auto [column, tileColumn] = columns[static_cast<std::size_t>(i)];
            if (line < 0 || column < 0) {
                row[i] = 0;
                continue;
            }
            const int cell = map.cell(column, line);
            if (cell != value) {
                value = cell;
                const QImage* t = tile(document, cell);
                tileRow = t ? reinterpret_cast<const QRgb*>(t->constScanLine(tileLine)) : nullptr;
            }
            row[i] = tileRow ? tileRow[tileColumn] : 0;
        }
    }
}

const QImage* CMapZoomedOutPicture::tile(const CResourceHolder& document, int value)
{
    if (value < 0 || value >= static_cast<int>(m_tiles.size()))
        return nullptr;
    const auto i = static_cast<std::size_t>(value);
    if (!m_tileMade[i]) {
        m_tileMade[i] = true;
        if (const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, value))) {
            QImage full(m_cellWidth, m_cellHeight, QImage::Format_ARGB32_Premultiplied);
            full.fill(Qt::transparent);
            {
                // As the map draws it: on the cell's corner, its own offsets cancelled.
                QPainter painter(&full);
                painter.translate(-bitmap->offsetX(), -bitmap->offsetY());
                bitmap->stretchDraw(painter, 0, 0, m_cellWidth, m_cellHeight);
            }
            m_tiles[i] = full.scaled(scaledSize(m_cellWidth, m_view.m11()), scaledSize(m_cellHeight, m_view.m22()),
                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    }
    return m_tiles[i].isNull() ? nullptr : &m_tiles[i];
}
