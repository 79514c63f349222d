// Tiled maps: any bytes as a .tmx whose tilesets and pictures lie beside the
// seeds. A map that reads must have one valid cell for each of its cells;
// one that does not must leave the document as it was.
#include "FuzzSupport.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CTiledMapImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    auto holder = createDocumentHolder();
    const auto result = CTiledMapImport::read(*holder, fuzz::bytesOf(data, size), QDir(QStringLiteral(QUILLOP_FUZZ_TMX)),
                                              QStringLiteral("fuzzed"));
    if (!result.done()) {
        if (holder->count(GroupMaps) != 0 || holder->count(GroupBitmaps) != 0)
            fuzz::finding("a refused map file changed the document");
        if (result.error.isEmpty())
            fuzz::finding("a refused map file gives no reason");
        return 0;
    }
    const auto* map = dynamic_cast<const CMapItem*>(holder->get(GroupMaps, result.mapRow));
    if (!map)
        fuzz::finding("a read map file made no map");
    for (int column = 0; column < map->columnCount(); ++column)
        for (int line = 0; line < map->lineCount(); ++line) {
            const int cell = map->cell(column, line);
            if (cell < -1 || cell >= holder->count(GroupBitmaps))
                fuzz::finding("a read map names a bitmap that is not there");
        }
    return 0;
}
