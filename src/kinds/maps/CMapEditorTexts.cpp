#include "kinds/maps/CMapEditorTexts.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/maps/CMapItem.h"

#include <cstdio>

int CMapEditorTexts::pickerRowCount(const CResourceHolder& document)
{
    return document.count(GroupBitmaps) + 1;
}

std::string CMapEditorTexts::pickerRow(const CResourceHolder& document, int row)
{
    const int value = paintValueForRow(row);
    const CResourceItem* bitmap = document.get(GroupBitmaps, value);
    if (value != -1 && !bitmap)
        return {};
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%d - ", value);
    // IDs have no length bound: appended, not formatted.
    return prefix + (bitmap ? bitmap->id() : std::string(kEmptyCellText));
}

int CMapEditorTexts::rowForValue(const CResourceHolder& document, int value)
{
    return value >= -1 && value < document.count(GroupBitmaps) ? value + 1 : -1;
}

std::string CMapEditorTexts::statusText(int column, int line, const CMapItem& map)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d, %d (%d, %d)", column, line, map.columnCount(), map.lineCount());
    return text;
}
