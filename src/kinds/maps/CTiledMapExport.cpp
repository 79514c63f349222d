#include "kinds/maps/CTiledMapExport.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/TiledFiles.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QXmlStreamWriter>

#include <cmath>
#include <map>

namespace {
// Tiled's own format version the files are written in.
constexpr const char* kTmxVersion = "1.8";

struct SiblingNames {
    QString tsx;
    QString png;
};

SiblingNames siblingsOf(const QString& tmxPath)
{
    const QFileInfo tmx(tmxPath);
    const QString stem = tmx.completeBaseName();
    return {stem + QStringLiteral(".tsx"), stem + QStringLiteral("-tiles.png")};
}

// The bitmaps the map's cells name, each given a tile number in row order.
std::map<int, int> usedBitmaps(const CResourceHolder& document, const CMapItem& map)
{
    std::map<int, int> tiles;
    for (int column = 0; column < map.columnCount(); ++column)
        for (int line = 0; line < map.lineCount(); ++line) {
            const int bitmap = map.cell(column, line);
            if (bitmap >= 0 && bitmap < document.count(GroupBitmaps))
                tiles.emplace(bitmap, 0);
        }
    int next = 0;
    for (auto& [bitmap, tile] : tiles)
        tile = next++;
    return tiles;
}

// Each used bitmap drawn into its cell-sized tile by the map's own drawing.
QImage tileSheet(const CResourceHolder& document, const CMapItem& map, const std::map<int, int>& tiles, int columns)
{
    const int rows = (static_cast<int>(tiles.size()) + columns - 1) / columns;
    QImage sheet(columns * map.cellWidth(), rows * map.cellHeight(), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    CMapItem one;
    one.setSizeX(map.cellWidth());
    one.setSizeY(map.cellHeight());
    one.insertColumn(0);
    one.insertLine(0);
    for (const auto& [bitmap, tile] : tiles) {
        one.setCell(0, 0, bitmap);
        const QPoint corner((tile % columns) * map.cellWidth(), (tile / columns) * map.cellHeight());
        painter.setClipRect(QRect(corner, QSize(map.cellWidth(), map.cellHeight())));
        one.drawStretched(painter, document, corner, QRect(corner, QSize(map.cellWidth(), map.cellHeight())));
    }
    return sheet;
}

QByteArray tilesetXml(const CResourceHolder& document, const CMapItem& map, const std::map<int, int>& tiles,
                      int columns, const QString& name, const QString& png, QSize sheetSize)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("version"), QString::fromLatin1(kTmxVersion));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(map.cellWidth()));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(map.cellHeight()));
    xml.writeAttribute(QStringLiteral("tilecount"), QString::number(tiles.size()));
    xml.writeAttribute(QStringLiteral("columns"), QString::number(columns));
    xml.writeEmptyElement(QStringLiteral("image"));
    xml.writeAttribute(QStringLiteral("source"), png);
    xml.writeAttribute(QStringLiteral("width"), QString::number(sheetSize.width()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(sheetSize.height()));
    for (const auto& [bitmap, tile] : tiles) {
        xml.writeStartElement(QStringLiteral("tile"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(tile));
        xml.writeStartElement(QStringLiteral("properties"));
        xml.writeEmptyElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), QString::fromLatin1(CTiledMapExport::kBitmapProperty));
        xml.writeAttribute(QStringLiteral("value"), QString::fromStdString(document.get(GroupBitmaps, bitmap)->id()));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

QByteArray mapXml(const CMapItem& map, const std::map<int, int>& tiles, const QString& tsx)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    for (const auto& [name, value] :
         {std::pair{"version", QString::fromLatin1(kTmxVersion)}, std::pair{"orientation", QStringLiteral("orthogonal")},
          std::pair{"renderorder", QStringLiteral("right-down")},
          std::pair{"width", QString::number(map.columnCount())}, std::pair{"height", QString::number(map.lineCount())},
          std::pair{"tilewidth", QString::number(map.cellWidth())},
          std::pair{"tileheight", QString::number(map.cellHeight())}, std::pair{"infinite", QStringLiteral("0")},
          std::pair{"nextlayerid", QStringLiteral("2")}, std::pair{"nextobjectid", QStringLiteral("1")}})
        xml.writeAttribute(QString::fromLatin1(name), value);
    if (!tiles.empty()) {
        xml.writeEmptyElement(QStringLiteral("tileset"));
        xml.writeAttribute(QStringLiteral("firstgid"), QStringLiteral("1"));
        xml.writeAttribute(QStringLiteral("source"), tsx);
    }
    xml.writeStartElement(QStringLiteral("layer"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("name"), QString::fromStdString(map.id()));
    xml.writeAttribute(QStringLiteral("width"), QString::number(map.columnCount()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(map.lineCount()));
    xml.writeStartElement(QStringLiteral("data"));
    xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
    // Cells go line by line, each line ending with a comma but the last.
    QByteArray csv("\n");
    csv.reserve(static_cast<qsizetype>(map.columnCount()) * map.lineCount() * 3 + map.lineCount());
    for (int line = 0; line < map.lineCount(); ++line) {
        for (int column = 0; column < map.columnCount(); ++column) {
            const auto tile = tiles.find(map.cell(column, line));
            csv += QByteArray::number(tile == tiles.end() ? 0 : tile->second + 1);
            if (column + 1 < map.columnCount() || line + 1 < map.lineCount())
                csv += ',';
        }
        csv += '\n';
    }
    xml.writeCharacters(QString::fromLatin1(csv));
    xml.writeEndDocument();
    return bytes;
}
} // namespace

CTiledMapExport::Result CTiledMapExport::write(const CResourceHolder& document, int mapRow, const QString& tmxPath)
{
    Result result;
    const auto* map = dynamic_cast<const CMapItem*>(document.get(GroupMaps, mapRow));
    if (!map) {
        result.error = QStringLiteral("there is no map at row %1").arg(mapRow);
        return result;
    }
    if (map->mapType() != CMapItem::kTypeGridOfBitmaps || map->cellWidth() <= 0 || map->cellHeight() <= 0) {
        result.error = QStringLiteral("the map is not a grid of bitmaps with cells of a size");
        return result;
    }
    const std::map<int, int> tiles = usedBitmaps(document, *map);
    const SiblingNames names = siblingsOf(tmxPath);
    const QString folder = QFileInfo(tmxPath).absolutePath() + QLatin1Char('/');
    if (!tiles.empty()) {
        const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(double(tiles.size())))));
        const QImage sheet = tileSheet(document, *map, tiles, columns);
        if (!writePngFile(folder + names.png, sheet)) {
            result.error = QStringLiteral("%1: could not be written").arg(folder + names.png);
            return result;
        }
        if (!writeWholeFile(folder + names.tsx, tilesetXml(document, *map, tiles, columns, QString::fromStdString(map->id()), names.png,
                                    sheet.size()))) {
            result.error = QStringLiteral("%1: could not be written").arg(folder + names.tsx);
            return result;
        }
    }
    if (!writeWholeFile(tmxPath, mapXml(*map, tiles, names.tsx))) {
        result.error = QStringLiteral("%1: could not be written").arg(tmxPath);
        return result;
    }
    result.written = true;
    result.tiles = static_cast<int>(tiles.size());
    return result;
}
