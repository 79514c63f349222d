#include "kinds/binaryfiles/CBinaryFileImport.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"

std::string CBinaryFileImport::fileTitle(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = title.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        title.erase(dot);
    return title;
}

int CBinaryFileImport::insertFiles(CResourceHolder& holder, const std::vector<std::string>& paths)
{
    int current = -1;
    for (const std::string& path : paths) {
        const int index = holder.newItem(GroupBinaryFiles, fileTitle(path));
        auto* item = dynamic_cast<CBinaryFileItem*>(holder.get(GroupBinaryFiles, index));
        if (item && item->loadSource(path)) {
            current = index;
            continue;
        }
        holder.remove(GroupBinaryFiles, index);
    }
    return current;
}
