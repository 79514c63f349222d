#include "kinds/maps/CTiledMapImport.h"

#include "core/CRegularFile.h"
#include "core/CResourceHolder.h"
#include "core/IPrompter.h"
#include "core/GroupIndex.h"
#include "kinds/bitmaps/CBitmapInsertion.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CTiledMapExport.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QXmlStreamReader>

#include <zlib.h>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace {
// Tiled marks flipped and rotated tiles in the top bits of a tile number.
constexpr std::uint32_t kFlipBits = 0xF0000000u;
// Larger tiles than this are no map cells but pictures of their own.
constexpr int kMaxTileSide = 4096;
// A map file, a tileset or a picture larger than this is refused unread.
constexpr qint64 kMaxFileBytes = qint64(512) << 20;

struct Failure {
    QString message;
};

struct Tileset {
    std::uint32_t firstGid = 1;
    QString name;
    int tileWidth = 0;
    int tileHeight = 0;
    int columns = 0;
    int margin = 0;
    int spacing = 0;
    QString sheet;                           // the one picture cut into tiles, if any
    std::map<int, QString> pictures;         // a collection's pictures by tile
    std::map<int, QString> bitmapNames;      // "quillop-bitmap" properties by tile
    QImage loadedSheet;
};

struct Layer {
    QString name;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> gids;
};

int intAttribute(const QXmlStreamReader& xml, const char* name, int fallback = 0)
{
    const auto text = xml.attributes().value(QLatin1String(name));
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

QString textAttribute(const QXmlStreamReader& xml, const char* name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

QByteArray readFile(const QString& path)
{
    if (QFileInfo(path).size() > kMaxFileBytes)
        throw Failure{QStringLiteral("%1: larger than %2 MB").arg(path).arg(kMaxFileBytes >> 20)};
    const std::optional<QByteArray> bytes = CRegularFile::read(path.toStdString());
    if (!bytes)
        throw Failure{QStringLiteral("%1: cannot be read").arg(path)};
    return *bytes;
}

void checkXml(const QXmlStreamReader& xml, const QString& what)
{
    if (xml.hasError())
        throw Failure{QStringLiteral("%1: not well-formed XML at line %2 (%3)")
                          .arg(what)
                          .arg(xml.lineNumber())
                          .arg(xml.errorString())};
}

// Reads a <tileset> element's content, the reader standing on its start.
void readTileset(QXmlStreamReader& xml, Tileset& set, const QDir& folder)
{
    set.name = textAttribute(xml, "name");
    set.tileWidth = intAttribute(xml, "tilewidth");
    set.tileHeight = intAttribute(xml, "tileheight");
    set.columns = intAttribute(xml, "columns");
    set.margin = intAttribute(xml, "margin");
    set.spacing = intAttribute(xml, "spacing");
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("image")) {
            set.sheet = folder.filePath(textAttribute(xml, "source"));
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("tile")) {
            const int tile = intAttribute(xml, "id", -1);
            if (tile < 0)
                throw Failure{QStringLiteral("tileset \"%1\": a tile without an id").arg(set.name)};
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("image")) {
                    set.pictures[tile] = folder.filePath(textAttribute(xml, "source"));
                } else if (xml.name() == QLatin1String("properties")) {
                    while (xml.readNextStartElement()) {
                        if (textAttribute(xml, "name") == QLatin1String(CTiledMapExport::kBitmapProperty))
                            set.bitmapNames[tile] = textAttribute(xml, "value");
                        xml.skipCurrentElement();
                    }
                    continue;
                }
                xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (set.tileWidth < 1 || set.tileHeight < 1 || set.tileWidth > kMaxTileSide || set.tileHeight > kMaxTileSide)
        throw Failure{QStringLiteral("tileset \"%1\": tiles of %2 x %3 pixels (1 to %4 on each side)")
                          .arg(set.name)
                          .arg(set.tileWidth)
                          .arg(set.tileHeight)
                          .arg(kMaxTileSide)};
}

Tileset externalTileset(const QString& path, std::uint32_t firstGid)
{
    QXmlStreamReader xml(readFile(path));
    Tileset set;
    set.firstGid = firstGid;
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("tileset")) {
        checkXml(xml, path);
        throw Failure{QStringLiteral("%1: not a Tiled tileset").arg(path)};
    }
    readTileset(xml, set, QFileInfo(path).absoluteDir());
    checkXml(xml, path);
    return set;
}

// Exactly `out.size()` bytes inflated from a zlib stream, or a failure:
// more or fewer would not be the layer's cells.
void inflateExactly(const QByteArray& packed, std::vector<unsigned char>& out)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw Failure{QStringLiteral("the layer's zlib data cannot be read")};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    const bool exact = status == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    if (!exact)
        throw Failure{QStringLiteral("the layer's zlib data does not hold one number per cell")};
}

void readData(QXmlStreamReader& xml, Layer& layer)
{
    const QString encoding = textAttribute(xml, "encoding");
    const QString compression = textAttribute(xml, "compression");
    const auto cells = static_cast<std::size_t>(layer.width) * static_cast<std::size_t>(layer.height);
    layer.gids.reserve(cells);
    if (encoding.isEmpty()) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("tile"))
                layer.gids.push_back(xml.attributes().value(QLatin1String("gid")).toUInt());
            else if (xml.name() == QLatin1String("chunk"))
                throw Failure{QStringLiteral("infinite maps (chunks) are not supported")};
            xml.skipCurrentElement();
        }
    } else if (encoding == QLatin1String("csv")) {
        const QString text = xml.readElementText();
        for (const QStringView number : QStringView(text).split(QLatin1Char(','))) {
            const QStringView trimmed = number.trimmed();
            if (trimmed.isEmpty() && layer.gids.size() == cells)
                continue;
            bool ok = false;
            layer.gids.push_back(trimmed.toUInt(&ok));
            if (!ok || layer.gids.size() > cells)
                throw Failure{QStringLiteral("layer \"%1\": its CSV data is not one tile number per cell").arg(layer.name)};
        }
    } else if (encoding == QLatin1String("base64")) {
        const auto decoded = QByteArray::fromBase64Encoding(xml.readElementText().simplified().remove(QLatin1Char(' ')).toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            throw Failure{QStringLiteral("layer \"%1\": its base64 data is malformed").arg(layer.name)};
        std::vector<unsigned char> bytes(cells * 4);
        if (compression == QLatin1String("zlib")) {
            inflateExactly(decoded.decoded, bytes);
        } else if (compression.isEmpty()) {
            if (static_cast<std::size_t>(decoded.decoded.size()) != bytes.size())
                throw Failure{QStringLiteral("layer \"%1\": its data does not hold one number per cell").arg(layer.name)};
            std::copy(decoded.decoded.begin(), decoded.decoded.end(), bytes.begin());
        } else {
            throw Failure{QStringLiteral("layer \"%1\": %2 compression is not supported (only zlib)").arg(layer.name, compression)};
        }
        for (std::size_t i = 0; i < cells; ++i)
            layer.gids.push_back(std::uint32_t(bytes[4 * i]) | std::uint32_t(bytes[4 * i + 1]) << 8 |
                                 std::uint32_t(bytes[4 * i + 2]) << 16 | std::uint32_t(bytes[4 * i + 3]) << 24);
    } else {
        throw Failure{QStringLiteral("layer \"%1\": the %2 encoding is not supported").arg(layer.name, encoding)};
    }
    if (layer.gids.size() != cells)
        throw Failure{QStringLiteral("layer \"%1\": %2 tile numbers for %3 cells").arg(layer.name).arg(layer.gids.size()).arg(cells)};
}

struct TmxMap {
    int tileWidth = 0;
    int tileHeight = 0;
    std::vector<Tileset> tilesets;
    std::optional<Layer> layer;
};

TmxMap parseMap(const QByteArray& bytes, const QDir& folder, const QString& layerName, const QString& what)
{
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("map")) {
        checkXml(xml, what);
        throw Failure{QStringLiteral("%1: not a Tiled map").arg(what)};
    }
    const QString orientation = textAttribute(xml, "orientation");
    if (orientation != QLatin1String("orthogonal"))
        throw Failure{QStringLiteral("%1: %2 maps are not supported, only orthogonal ones").arg(what, orientation)};
    if (intAttribute(xml, "infinite") != 0)
        throw Failure{QStringLiteral("%1: infinite maps are not supported").arg(what)};
    TmxMap map;
    // The map's tile size is the size of its cells, whatever its tiles' size.
    map.tileWidth = intAttribute(xml, "tilewidth");
    map.tileHeight = intAttribute(xml, "tileheight");
    if (map.tileWidth < 1 || map.tileHeight < 1 || map.tileWidth > kMaxTileSide || map.tileHeight > kMaxTileSide)
        throw Failure{QStringLiteral("%1: cells of %2 x %3 pixels (1 to %4 on each side)")
                          .arg(what)
                          .arg(map.tileWidth)
                          .arg(map.tileHeight)
                          .arg(kMaxTileSide)};
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("tileset")) {
            const int firstGid = intAttribute(xml, "firstgid", 0);
            if (firstGid < 1)
                throw Failure{QStringLiteral("%1: a tileset without a first tile number").arg(what)};
            const QString source = textAttribute(xml, "source");
            if (!source.isEmpty()) {
                map.tilesets.push_back(externalTileset(folder.filePath(source), std::uint32_t(firstGid)));
                xml.skipCurrentElement();
            } else {
                Tileset set;
                set.firstGid = std::uint32_t(firstGid);
                readTileset(xml, set, folder);
                map.tilesets.push_back(std::move(set));
            }
        } else if (xml.name() == QLatin1String("layer") && !map.layer &&
                   (layerName.isEmpty() || textAttribute(xml, "name") == layerName)) {
            Layer layer;
            layer.name = textAttribute(xml, "name");
            layer.width = intAttribute(xml, "width", -1);
            layer.height = intAttribute(xml, "height", -1);
            if (!CMapItem::sizeFits(layer.width, layer.height))
                throw Failure{QStringLiteral("layer \"%1\": %2 x %3 cells (at most %4 on a side and %5 in all)")
                                  .arg(layer.name)
                                  .arg(layer.width)
                                  .arg(layer.height)
                                  .arg(CMapItem::kMaxSide)
                                  .arg(CMapItem::kMaxCells)};
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("data"))
                    readData(xml, layer);
                else
                    xml.skipCurrentElement();
            }
            // A layer without its data has no cells to read.
            if (layer.gids.size() != static_cast<std::size_t>(layer.width) * static_cast<std::size_t>(layer.height))
                throw Failure{QStringLiteral("layer \"%1\": holds no tile data for its cells").arg(layer.name)};
            map.layer = std::move(layer);
        } else {
            xml.skipCurrentElement();
        }
    }
    checkXml(xml, what);
    if (!map.layer)
        throw Failure{layerName.isEmpty() ? QStringLiteral("%1: holds no tile layer").arg(what)
                                          : QStringLiteral("%1: holds no tile layer named \"%2\"").arg(what, layerName)};
    return map;
}

QImage loadPicture(const QString& path)
{
    QImageReader reader(path);
    QImage picture;
    if (QFileInfo(path).size() > kMaxFileBytes || !reader.read(&picture))
        throw Failure{QStringLiteral("%1: the picture cannot be read (%2)").arg(path, reader.errorString())};
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The picture of tile `local` of a tileset.
QImage tilePicture(Tileset& set, int local)
{
    if (const auto own = set.pictures.find(local); own != set.pictures.end())
        return loadPicture(own->second);
    if (set.sheet.isEmpty())
        throw Failure{QStringLiteral("tileset \"%1\" has no picture for tile %2").arg(set.name).arg(local)};
    if (set.loadedSheet.isNull())
        set.loadedSheet = loadPicture(set.sheet);
    const int step = set.tileWidth + set.spacing;
    const int columns = set.columns > 0 ? set.columns : std::max(1, (set.loadedSheet.width() - 2 * set.margin + set.spacing) / step);
    const QRect place(set.margin + (local % columns) * step, set.margin + (local / columns) * (set.tileHeight + set.spacing),
                      set.tileWidth, set.tileHeight);
    if (!set.loadedSheet.rect().contains(place))
        throw Failure{QStringLiteral("tileset \"%1\": tile %2 lies outside its picture").arg(set.name).arg(local)};
    return set.loadedSheet.copy(place);
}

struct NeededTile {
    QImage picture;
    QString name;
    int row = -1;  // the document's bitmap when it already holds the picture
};
} // namespace

CTiledMapImport::Result CTiledMapImport::read(CResourceHolder& document, const QString& tmxPath, const QString& layerName)
{
    try {
        return read(document, readFile(tmxPath), QFileInfo(tmxPath).absoluteDir(), QFileInfo(tmxPath).completeBaseName(),
                    layerName);
    } catch (const Failure& failure) {
        Result result;
        result.error = failure.message;
        return result;
    }
}

CTiledMapImport::Result CTiledMapImport::read(CResourceHolder& document, const QByteArray& tmx, const QDir& folder,
                                              const QString& mapId, const QString& layerName)
{
    Result result;
    try {
        TmxMap map = parseMap(tmx, folder, layerName, mapId + QStringLiteral(".tmx"));
        const Layer& layer = *map.layer;
        // Every tile the layer uses, cut and matched before anything changes.
        std::map<std::uint32_t, NeededTile> tiles;
        for (const std::uint32_t gid : layer.gids) {
            if (gid == 0 || tiles.count(gid))
                continue;
            if (gid & kFlipBits)
                throw Failure{QStringLiteral("layer \"%1\": flipped or rotated tiles are not supported").arg(layer.name)};
            Tileset* owner = nullptr;
            for (Tileset& set : map.tilesets)
                if (set.firstGid <= gid && (!owner || set.firstGid > owner->firstGid))
                    owner = &set;
            if (!owner)
                throw Failure{QStringLiteral("layer \"%1\": tile %2 belongs to no tileset").arg(layer.name).arg(gid)};
            const int local = static_cast<int>(gid - owner->firstGid);
            NeededTile tile;
            tile.picture = tilePicture(*owner, local);
            const auto named = owner->bitmapNames.find(local);
            tile.name = named != owner->bitmapNames.end() ? named->second
                                                          : QStringLiteral("%1 %2").arg(owner->name).arg(local);
            tile.row = CBitmapInsertion::findSamePicture(document, tile.picture);
            tiles.emplace(gid, std::move(tile));
        }
        // Nothing can fail from here on: the document takes the bitmaps and the map.
        for (auto& [gid, tile] : tiles) {
            if (tile.row >= 0) {
                ++result.bitmapsReused;
                continue;
            }
            tile.row = CBitmapInsertion::insertPicture(document, tile.name, tile.picture);
            ++result.bitmapsAdded;
        }
        result.mapRow = document.newItem(GroupMaps, mapId.toStdString());
        auto* item = dynamic_cast<CMapItem*>(document.get(GroupMaps, result.mapRow));
        item->clear();
        item->setSizeX(map.tileWidth);
        item->setSizeY(map.tileHeight);
        item->resize(layer.width, layer.height, consolePrompter());
        for (int line = 0; line < layer.height; ++line)
            for (int column = 0; column < layer.width; ++column) {
                const std::uint32_t gid = layer.gids[static_cast<std::size_t>(line) * layer.width + column];
                item->setCell(column, line, gid == 0 ? -1 : tiles.at(gid).row);
            }
    } catch (const Failure& failure) {
        result.error = failure.message;
    }
    return result;
}
