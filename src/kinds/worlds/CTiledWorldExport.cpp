#include "kinds/worlds/CTiledWorldExport.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/maps/CMapCanvasPicture.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/TiledFiles.h"
#include "kinds/worlds/WorldInstance.h"
#include "media/image/CDisplayBuffer.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QXmlStreamWriter>

#include <map>
#include <vector>

namespace {
// The grid Tiled shows over the layout; the objects do not depend on it.
constexpr int kGrid = 16;

struct Drawn {
    bool isMap = false;
    int row = -1;
    QRect rect;
};

std::vector<Drawn> drawnItems(const CResourceHolder& document, const WorldInstance& world)
{
    std::vector<quillop::DrawItem> items;
    world.drawList(0, 0, items);
    std::vector<Drawn> drawn;
    for (const quillop::DrawItem& item : items) {
        Drawn d;
        d.isMap = item.kind == quillop::DrawItem::Map;
        d.row = item.index;
        if (d.isMap) {
            if (const auto* map = dynamic_cast<const CMapItem*>(document.get(GroupMaps, item.index)))
                d.rect = CMapCanvasPicture::mapArea(*map).translated(item.x, item.y);
        } else if (const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, item.index))) {
            d.rect = QRect(bitmap->topLeftFor(item.x, item.y), QSize(bitmap->actualWidth(), bitmap->actualHeight()));
        }
        if (!d.rect.isEmpty())
            drawn.push_back(d);
    }
    return drawn;
}

QImage pictureOf(const CResourceHolder& document, const Drawn& item)
{
    QImage picture(item.rect.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    if (item.isMap) {
        const auto* map = dynamic_cast<const CMapItem*>(document.get(GroupMaps, item.row));
        const QRect area = CMapCanvasPicture::mapArea(*map);
        map->drawStretched(painter, document, -area.topLeft(), picture.rect());
    } else {
        dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, item.row))->drawWithoutOffset(painter);
    }
    return picture;
}

} // namespace

CTiledWorldExport::Result CTiledWorldExport::write(const CResourceHolder& document, int worldRow, const QString& tmxPath)
{
    Result result;
    WorldInstance world;
    if (!world.build(document, worldRow)) {
        result.error = QStringLiteral("there is no world at row %1").arg(worldRow);
        return result;
    }
    const std::vector<Drawn> drawn = drawnItems(document, world);
    QRect bounds;
    for (const Drawn& item : drawn)
        bounds |= item.rect;
    if (bounds.isEmpty()) {
        result.error = QStringLiteral("the world draws nothing");
        return result;
    }
    const QPoint shift = -bounds.topLeft();
    const QFileInfo tmx(tmxPath);
    const QString stem = tmx.completeBaseName();
    const QString imagesName = stem + QStringLiteral("-images");
    const QDir folder = tmx.absoluteDir();
    if (!folder.mkpath(imagesName)) {
        result.error = QStringLiteral("%1: could not be made").arg(folder.filePath(imagesName));
        return result;
    }
    // The tileset: one picture per bitmap drawn, numbered in row order.
    std::map<int, int> tiles;
    QSize largest;
    for (const Drawn& item : drawn)
        if (!item.isMap) {
            tiles.emplace(item.row, 0);
            largest = largest.expandedTo(item.rect.size());
        }
    QByteArray tsxBytes;
    {
        QXmlStreamWriter xml(&tsxBytes);
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeStartElement(QStringLiteral("tileset"));
        xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
        xml.writeAttribute(QStringLiteral("name"), stem);
        xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(largest.width()));
        xml.writeAttribute(QStringLiteral("tileheight"), QString::number(largest.height()));
        xml.writeAttribute(QStringLiteral("tilecount"), QString::number(tiles.size()));
        xml.writeAttribute(QStringLiteral("columns"), QStringLiteral("0"));
        int next = 0;
        for (auto& [row, tile] : tiles) {
            tile = next++;
            const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, row));
            const QImage picture = pictureOf(document, {false, row, QRect(0, 0, bitmap->actualWidth(), bitmap->actualHeight())});
            const QString name = QStringLiteral("%1/bitmap-%2.png").arg(imagesName).arg(row);
            if (!writePngFile(folder.filePath(name), picture)) {
                result.error = QStringLiteral("%1: could not be written").arg(folder.filePath(name));
                return result;
            }
            xml.writeStartElement(QStringLiteral("tile"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(tile));
            xml.writeEmptyElement(QStringLiteral("image"));
            xml.writeAttribute(QStringLiteral("source"), name);
            xml.writeAttribute(QStringLiteral("width"), QString::number(picture.width()));
            xml.writeAttribute(QStringLiteral("height"), QString::number(picture.height()));
            xml.writeEndElement();
        }
        xml.writeEndDocument();
    }
    if (!tiles.empty() && !writeWholeFile(folder.filePath(stem + QStringLiteral(".tsx")), tsxBytes)) {
        result.error = QStringLiteral("%1: could not be written").arg(folder.filePath(stem + QStringLiteral(".tsx")));
        return result;
    }

    QByteArray tmxBytes;
    QXmlStreamWriter xml(&tmxBytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
    xml.writeAttribute(QStringLiteral("orientation"), QStringLiteral("orthogonal"));
    xml.writeAttribute(QStringLiteral("renderorder"), QStringLiteral("right-down"));
    xml.writeAttribute(QStringLiteral("width"), QString::number((bounds.width() + kGrid - 1) / kGrid));
    xml.writeAttribute(QStringLiteral("height"), QString::number((bounds.height() + kGrid - 1) / kGrid));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(kGrid));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(kGrid));
    xml.writeAttribute(QStringLiteral("infinite"), QStringLiteral("0"));
    xml.writeStartElement(QStringLiteral("properties"));
    for (const auto& [name, value] : {std::pair{"quillop-origin-x", shift.x()}, std::pair{"quillop-origin-y", shift.y()}}) {
        xml.writeEmptyElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), QString::fromLatin1(name));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("int"));
        xml.writeAttribute(QStringLiteral("value"), QString::number(value));
    }
    xml.writeEndElement();
    if (!tiles.empty()) {
        xml.writeEmptyElement(QStringLiteral("tileset"));
        xml.writeAttribute(QStringLiteral("firstgid"), QStringLiteral("1"));
        xml.writeAttribute(QStringLiteral("source"), stem + QStringLiteral(".tsx"));
    }
    // Layers in drawing order: a run of bitmaps is one object layer, each
    // map an image layer of its own.
    int nextId = 1;
    bool inObjects = false;
    for (const Drawn& item : drawn) {
        const QPoint at = item.rect.topLeft() + shift;
        if (item.isMap) {
            if (inObjects)
                xml.writeEndElement();
            inObjects = false;
            const QString name = QStringLiteral("%1/map-%2.png").arg(imagesName).arg(item.row);
            if (!writePngFile(folder.filePath(name), pictureOf(document, item))) {
                result.error = QStringLiteral("%1: could not be written").arg(folder.filePath(name));
                return result;
            }
            xml.writeStartElement(QStringLiteral("imagelayer"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(nextId++));
            xml.writeAttribute(QStringLiteral("name"), QString::fromStdString(document.get(GroupMaps, item.row)->id()));
            xml.writeAttribute(QStringLiteral("offsetx"), QString::number(at.x()));
            xml.writeAttribute(QStringLiteral("offsety"), QString::number(at.y()));
            xml.writeEmptyElement(QStringLiteral("image"));
            xml.writeAttribute(QStringLiteral("source"), name);
            xml.writeAttribute(QStringLiteral("width"), QString::number(item.rect.width()));
            xml.writeAttribute(QStringLiteral("height"), QString::number(item.rect.height()));
            xml.writeEndElement();
            continue;
        }
        if (!inObjects) {
            xml.writeStartElement(QStringLiteral("objectgroup"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(nextId++));
            xml.writeAttribute(QStringLiteral("name"), QStringLiteral("elements"));
            xml.writeAttribute(QStringLiteral("draworder"), QStringLiteral("index"));
            inObjects = true;
        }
        // A tile object stands on its bottom-left corner.
        xml.writeEmptyElement(QStringLiteral("object"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(nextId++));
        xml.writeAttribute(QStringLiteral("name"), QString::fromStdString(document.get(GroupBitmaps, item.row)->id()));
        xml.writeAttribute(QStringLiteral("gid"), QString::number(tiles.at(item.row) + 1));
        xml.writeAttribute(QStringLiteral("x"), QString::number(at.x()));
        xml.writeAttribute(QStringLiteral("y"), QString::number(at.y() + item.rect.height()));
        xml.writeAttribute(QStringLiteral("width"), QString::number(item.rect.width()));
        xml.writeAttribute(QStringLiteral("height"), QString::number(item.rect.height()));
        ++result.objects;
    }
    if (inObjects)
        xml.writeEndElement();
    xml.writeEndDocument();
    if (!writeWholeFile(tmxPath, tmxBytes)) {
        result.error = QStringLiteral("%1: could not be written").arg(tmxPath);
        return result;
    }
    result.written = true;
    return result;
}
