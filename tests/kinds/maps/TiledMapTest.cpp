// Maps to Tiled and back: round trips, the picture Tiled's own renderer
// makes of an export, and hostile map files that must change nothing.
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CTiledMapExport.h"
#include "kinds/maps/CTiledMapImport.h"
#include "media/image/CDisplayBuffer.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {
// A document with `colours` bitmaps of w x h (each a frame of its own colour
// around a dot, so that stretching shows) and one map whose cell (x, y)
// holds (x * 7 + y * 3) % (colours + 1) - 1: every bitmap and empty cells.
std::unique_ptr<CResourceHolder> documentWithMap(int columns, int lines, QSize cell, int colours, QSize bitmapSize)
{
    auto holder = createDocumentHolder();
    for (int i = 0; i < colours; ++i) {
        QImage image(bitmapSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor::fromHsv(i * 47 % 360, 200, 220));
        QPainter(&image).fillRect(bitmapSize.width() / 3, bitmapSize.height() / 3, 2, 2, Qt::black);
        const int row = holder->newItem(GroupBitmaps, "tile " + std::to_string(i));
        dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, row))->attachImage(image);
    }
    auto* map = dynamic_cast<CMapItem*>(holder->get(GroupMaps, holder->newItem(GroupMaps, "level")));
    map->clear();
    map->setSizeX(cell.width());
    map->setSizeY(cell.height());
    ScriptedPrompter never;
    map->resize(columns, lines, never);
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < lines; ++y)
            map->setCell(x, y, (x * 7 + y * 3) % (colours + 1) - 1);
    return holder;
}

const CMapItem& mapAt(const CResourceHolder& holder, int row)
{
    return *dynamic_cast<const CMapItem*>(holder.get(GroupMaps, row));
}

QImage rendered(const CResourceHolder& holder, int row)
{
    const CMapItem& map = mapAt(holder, row);
    QImage picture(map.columnCount() * map.cellWidth(), map.lineCount() * map.cellHeight(),
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    map.drawStretched(painter, holder, QPoint(0, 0), picture.rect());
    return picture;
}

struct RoundTrip {
    const char* name;
    int columns, lines;
    QSize cell;
    int colours;
    QSize bitmapSize;
};

TEST(TiledMap, MapsGoToTiledAndBackWithTheirCellsTileSizeAndPictures)
{
    const RoundTrip cases[] = {
        {"square tiles", 12, 9, {16, 16}, 4, {16, 16}},
        {"odd sizes", 7, 13, {13, 7}, 3, {13, 7}},
        {"bitmaps stretched to the cell", 5, 5, {20, 12}, 2, {9, 17}},
        {"one cell", 1, 1, {8, 8}, 1, {8, 8}},
        {"no bitmap used", 4, 3, {16, 16}, 0, {16, 16}},
        {"a large map", 300, 200, {4, 4}, 5, {4, 4}},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const auto source = documentWithMap(c.columns, c.lines, c.cell, c.colours, c.bitmapSize);
        const QString tmx = folder.filePath(QStringLiteral("level.tmx"));
        const auto exported = CTiledMapExport::write(*source, 0, tmx);
        ASSERT_TRUE(exported.written) << exported.error.toStdString();

        // Into a fresh document: the same cells with new bitmaps drawn alike.
        auto fresh = createDocumentHolder();
        const auto imported = CTiledMapImport::read(*fresh, tmx);
        ASSERT_TRUE(imported.done()) << imported.error.toStdString();
        const CMapItem& back = mapAt(*fresh, imported.mapRow);
        EXPECT_EQ(back.columnCount(), c.columns);
        EXPECT_EQ(back.lineCount(), c.lines);
        EXPECT_EQ(back.cellWidth(), c.cell.width());
        EXPECT_EQ(back.cellHeight(), c.cell.height());
        EXPECT_EQ(rendered(*fresh, imported.mapRow), rendered(*source, 0));

        // Into the document it came from: every bitmap is found again, so
        // the cells are the very same indexes.
        const int bitmaps = source->count(GroupBitmaps);
        const auto again = CTiledMapImport::read(*source, tmx);
        ASSERT_TRUE(again.done()) << again.error.toStdString();
        if (c.bitmapSize == c.cell) {
            EXPECT_EQ(source->count(GroupBitmaps), bitmaps);
            for (int x = 0; x < c.columns; ++x)
                for (int y = 0; y < c.lines; ++y)
                    ASSERT_EQ(mapAt(*source, again.mapRow).cell(x, y), mapAt(*source, 0).cell(x, y));
        }
    }
}

// Tiled's own renderer draws an exported map as the editor does, and Tiled
// reads the export back without complaint.
TEST(TiledMap, TiledsOwnRendererDrawsTheExportAsTheEditorDoes)
{
    if (QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer")).isEmpty())
        GTEST_SKIP() << "tmxrasterizer (package tiled) is not installed";
    QTemporaryDir folder;
    const auto document = documentWithMap(23, 17, {16, 12}, 6, {16, 12});
    const QString tmx = folder.filePath(QStringLiteral("level.tmx"));
    ASSERT_TRUE(CTiledMapExport::write(*document, 0, tmx).written);
    std::string errors;
    ASSERT_EQ(runTiledProgram("tmxrasterizer", {tmx, folder.filePath(QStringLiteral("tiled.png"))}, &errors), 0) << errors;
    const QImage byTiled = QImage(folder.filePath(QStringLiteral("tiled.png"))).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(byTiled, rendered(*document, 0));
    // Tiled itself opens the export and writes it in its JSON form.
    EXPECT_EQ(runTiledProgram("tiled", {QStringLiteral("--export-map"), QStringLiteral("json"), tmx,
                                        folder.filePath(QStringLiteral("level.json"))},
                              &errors),
              0)
        << errors;
    QFile json(folder.filePath(QStringLiteral("level.json")));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_TRUE(json.readAll().contains("\"tilewidth\":16"));
}

TEST(TiledMap, HostileMapFilesAreRefusedWithAMessageAndChangeNothing)
{
    const QByteArray head = "<?xml version=\"1.0\"?>\n";
    const QByteArray okTileset =
        "<tileset firstgid=\"1\" name=\"t\" tilewidth=\"4\" tileheight=\"4\" columns=\"1\"><image source=\"t.png\"/></tileset>";
    auto map = [&](const QByteArray& attributes, const QByteArray& body) {
        return head + "<map orientation=\"orthogonal\" width=\"2\" height=\"1\" tilewidth=\"4\" tileheight=\"4\" " +
               attributes + ">" + body + "</map>";
    };
    auto layer = [](const QByteArray& data, const QByteArray& size = "width=\"2\" height=\"1\"") {
        return "<layer name=\"L\" " + size + ">" + data + "</layer>";
    };
    const struct {
        const char* name;
        QByteArray file;
        const char* says;
    } cases[] = {
        {"not XML", "this is not a map", "not"},
        {"an isometric map", head + "<map orientation=\"isometric\" width=\"1\" height=\"1\"/>", "isometric"},
        {"an infinite map", map("infinite=\"1\"", ""), "infinite"},
        {"no tile layer", map("", okTileset), "no tile layer"},
        {"flipped tiles", map("", okTileset + layer("<data encoding=\"csv\">2147483649,0</data>")), "flipped"},
        {"too many cells", map("", layer("<data encoding=\"csv\">0</data>", "width=\"70000\" height=\"70000\"")), "cells"},
        {"a wrong cell count", map("", layer("<data encoding=\"csv\">0,0,0</data>")), "one tile number per cell"},
        {"gzip data", map("", layer("<data encoding=\"base64\" compression=\"gzip\">AAAAAAAAAAA=</data>")), "gzip"},
        {"zlib data of the wrong length", map("", layer("<data encoding=\"base64\" compression=\"zlib\">eJxjYGBgAAAABAAB</data>")), "zlib"},
        {"a tile of no tileset", map("", layer("<data encoding=\"csv\">5,0</data>")), "no tileset"},
        {"a missing tileset file", map("", "<tileset firstgid=\"1\" source=\"nowhere.tsx\"/>" + layer("<data encoding=\"csv\">1,0</data>")), "cannot be read"},
        {"a missing picture", map("", okTileset + layer("<data encoding=\"csv\">1,0</data>")), "picture"},
        {"entities that multiply", head + "<!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                                      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                                      "<map orientation=\"orthogonal\" width=\"1\" height=\"1\" tilewidth=\"4\" tileheight=\"4\"><layer name=\"&d;&d;&d;&d;\" width=\"1\" height=\"1\"/></map>",
         "XML"},
    };
    QTemporaryDir folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto document = createDocumentHolder();
        const auto result = CTiledMapImport::read(*document, c.file, QDir(folder.path()), QStringLiteral("hostile"));
        EXPECT_FALSE(result.done());
        EXPECT_NE(result.error.indexOf(QLatin1String(c.says)), -1) << result.error.toStdString();
        EXPECT_EQ(document->count(GroupMaps), 0);
        EXPECT_EQ(document->count(GroupBitmaps), 0);
    }
}
} // namespace
