#include "kinds/bitmaps/CBitmapInsertion.h"

#include "core/CResourceHolder.h"
#include "kinds/bitmaps/CBitmapItem.h"

std::string CBitmapInsertion::fileTitle(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos && path.size() == 2 && path[1] == ':')
        return std::string();
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = title.rfind('.');
    if (dot != std::string::npos)
        title.erase(dot);
    return title;
}

std::vector<int> CBitmapInsertion::insertImages(CResourceHolder& holder, const std::vector<std::string>& paths)
{
    std::vector<int> rows;
    for (const std::string& path : paths) {
        const int row = holder.newItem(GroupBitmaps, fileTitle(path));
        auto* bitmap = dynamic_cast<CDisplayBuffer*>(holder.get(GroupBitmaps, row));
        if (bitmap && bitmap->loadFromFile(CDisplayBuffer::GdiPlusImage, path)) {
            rows.push_back(row);
            continue;
        }
        // The new row is the last one and nothing refers to it yet.
        if (row >= 0)
            holder.remove(GroupBitmaps, row);
    }
    return rows;
}
