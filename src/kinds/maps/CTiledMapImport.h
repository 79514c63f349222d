#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

class CResourceHolder;

// Reads a tile layer of a Tiled map (.tmx) into a new map of the document,
// with the bitmaps its tiles need: a tile whose picture equals a bitmap of
// the document uses that bitmap, the others become new bitmaps (named by the
// tile's "quillop-bitmap" property, else "TILESET N"). The layer is the first
// tile layer, or the one named; its data may be CSV, base64, or base64 with
// zlib compression; tilesets may be embedded or external (.tsx), one picture
// cut into tiles or a collection of pictures.
//
// What the map needs is read and checked first; the document changes only
// when all of it could be read. Orientations other than orthogonal,
// infinite maps, flipped or rotated tiles and other compressions are refused
// with a message that names them; so are sizes beyond the editor's limits,
// missing files and malformed XML.
class CTiledMapImport {
public:
    struct Result {
        int mapRow = -1;
        int bitmapsAdded = 0;
        int bitmapsReused = 0;
        QString error;
        bool done() const { return mapRow >= 0; }
    };
    static Result read(CResourceHolder& document, const QString& tmxPath, const QString& layerName = {});
    // The same from the file's bytes; tilesets and pictures are looked for
    // in `folder`, and the new map is named `mapId`.
    static Result read(CResourceHolder& document, const QByteArray& tmx, const QDir& folder, const QString& mapId,
                       const QString& layerName = {});
};
