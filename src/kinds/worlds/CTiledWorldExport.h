#pragma once

#include <QString>

class CResourceHolder;

// Writes a world as a Tiled map to look at and reuse its layout: the world
// as it stands before its first game step, every bitmap it draws (an
// element's bitmap, an animation's current frame) a tile object on an object
// layer, and every map it draws an image layer holding that map's picture,
// the layers in the world's drawing order. The pictures of the bitmaps make
// a tileset of separate images (OUT.tsx, pictures in OUT-images/), the maps'
// pictures lie beside them. The layout is moved so that everything drawn
// lies at positive coordinates; the map's properties "quillop-origin-x" and
// "quillop-origin-y" say where the world's drawing point went.
class CTiledWorldExport {
public:
    struct Result {
        bool written = false;
        QString error;
        int objects = 0;
    };
    static Result write(const CResourceHolder& document, int worldRow, const QString& tmxPath);
};
