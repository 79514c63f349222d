#pragma once

#include <QString>

class CResourceHolder;

// Writes a map as a Tiled map: OUT.tmx (orthogonal, one CSV tile layer, the
// map's cell size as tile size), its tileset OUT.tsx and the tileset's
// picture OUT.png beside it ("level.tmx" gives "level.tsx" and
// "level-tiles.png"). The tileset holds each bitmap the map uses once, drawn
// as the map draws it (stretched to the cell), so the map looks the same in
// Tiled; each tile keeps its bitmap's ID as the property "quillop-bitmap".
// Empty cells, and cells naming no bitmap, stay empty.
class CTiledMapExport {
public:
    static constexpr const char* kBitmapProperty = "quillop-bitmap";

    struct Result {
        bool written = false;
        QString error;
        int tiles = 0;
    };
    static Result write(const CResourceHolder& document, int mapRow, const QString& tmxPath);
};
