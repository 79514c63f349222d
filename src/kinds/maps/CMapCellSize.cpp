#include "kinds/maps/CMapCellSize.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/maps/CMapItem.h"
#include "media/image/CDisplayBuffer.h"

#include <cmath>

namespace {
std::string sizeText(QSize size)
{
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

std::string idOf(const CResourceHolder& document, int value)
{
    const CResourceItem* bitmap = document.get(GroupBitmaps, value);
    return bitmap ? bitmap->id() : std::string();
}
} // namespace

QSize CMapCellSize::bitmapSize(const CResourceHolder& document, int value)
{
    // The size the header states: no picture is decoded to measure it.
    const auto* bitmap = value >= 0 ? dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, value)) : nullptr;
    if (!bitmap)
        return {};
    const QSize size(static_cast<int>(std::lround(bitmap->width())), static_cast<int>(std::lround(bitmap->height())));
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}

bool CMapCellSize::holdsNoBitmap(const CMapItem& map)
{
    for (int x = 0; x < map.columnCount(); ++x)
        for (int y = 0; y < map.lineCount(); ++y)
            if (map.cell(x, y) >= 0)
                return false;
    return true;
}

bool CMapCellSize::takeFromBitmap(CMapItem& map, const CResourceHolder& document, int value)
{
    const QSize size = bitmapSize(document, value);
    if (size.isEmpty() || size == QSize(map.cellWidth(), map.cellHeight()) || !holdsNoBitmap(map))
        return false;
    map.setSizeX(size.width());
    map.setSizeY(size.height());
    return true;
}

std::string CMapCellSize::takenText(const CResourceHolder& document, const CMapItem& map, int value)
{
    return "Cells set to " + sizeText(QSize(map.cellWidth(), map.cellHeight())) + ", the size of " +
           idOf(document, value);
}

std::string CMapCellSize::misfitText(const CResourceHolder& document, const CMapItem& map, int value)
{
    const QSize size = bitmapSize(document, value);
    const QSize cells(map.cellWidth(), map.cellHeight());
    if (size.isEmpty() || size == cells)
        return {};
    return idOf(document, value) + " is " + sizeText(size) + " but the cells are " + sizeText(cells) +
           ": it is drawn stretched";
}
