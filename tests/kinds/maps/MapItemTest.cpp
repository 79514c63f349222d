#include "core/CArchiveException.h"
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CItemKinds.h"
#include "kinds/maps/CMapEditorTexts.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CMapZoomedOutPicture.h"
#include "kinds/maps/MapJson.h"
#include "media/image/CDisplayBuffer.h"
#include "support/TestSupport.h"

#include <QJsonDocument>
#include <QPainter>
#include "support/ItemBytes.h"

#include <gtest/gtest.h>

namespace {





// Columns of cells, as the map keeps them.
using Cells = std::vector<std::vector<int>>;

Cells cellsOf(const CMapItem& map)
{
    Cells out(static_cast<std::size_t>(map.columnCount()));
    for (int c = 0; c < map.columnCount(); ++c)
        for (int l = 0; l < map.lineCount(); ++l)
            out[std::size_t(c)].push_back(map.cell(c, l));
    return out;
}

void setCells(CMapItem& map, const Cells& cells)
{
    ScriptedPrompter yes;
    yes.answers = {IPrompter::Answer::Yes};
    map.resize(int(cells.size()), cells.empty() ? 0 : int(cells[0].size()), yes);
    for (std::size_t c = 0; c < cells.size(); ++c)
        for (std::size_t l = 0; l < cells[c].size(); ++l)
            ASSERT_EQ(map.setCell(int(c), int(l), cells[c][l]), 1);
}

// A 2 × 2 opaque bitmap of one colour (0x00BBGGRR) with the given offsets.
std::unique_ptr<CDisplayBuffer> tile(std::uint32_t colour, double offsetX, double offsetY, int kind = CDisplayBuffer::DibBitmap32)
{
    auto bitmap = std::make_unique<CDisplayBuffer>();
    if (kind == CDisplayBuffer::GdiPlusImage) {
        QImage image(2, 2, QImage::Format_ARGB32);
        image.fill(QColor(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff)));
        bitmap->attachImage(image);
    } else {
        bitmap->create(kind, 2, 2);
        bitmap->fill(colour);
    }
    bitmap->setOffsetX(offsetX);
    bitmap->setOffsetY(offsetY);
    return bitmap;
}
} // namespace

TEST(MapItem, NewRecordAndGoldenSectionBytes)
{
    CMapItem fresh;
    EXPECT_EQ(fresh.columnCount(), 10);
    EXPECT_EQ(fresh.lineCount(), 10);
    EXPECT_EQ(fresh.cell(9, 9), -1);
    EXPECT_EQ(fresh.cellWidth(), 32);
    EXPECT_EQ(fresh.sizeY(), 32);
    EXPECT_EQ(CMapItem::typeText(fresh.mapType()), std::string("Grid of Bitmaps"));
    EXPECT_EQ(CMapItem::typeText(1), std::string("Not Valid"));

    CMapItem map;
    map.setId("m");
    setCells(map, {{5, 6}, {-1, 7}, {0, 1}});
    map.setSizeX(16);
    map.setSizeY(24);
    // Columns, lines, then Size Y before Size X, then the cells column by column.
    const QByteArray expected = recordHeader("m") + le32(0) + le32(1) + le32(0) + le32(3) + le32(2) + le32(24) + le32(16) +
                                le16(5) + le16(6) + le16(-1) + le16(7) + le16(0) + le16(1);
    EXPECT_EQ(storeItem(map), expected);

    CMapItem back;
    loadItem(back, expected);
    EXPECT_EQ(cellsOf(back), (Cells{{5, 6}, {-1, 7}, {0, 1}}));
    EXPECT_EQ(back.sizeX(), 16);
    EXPECT_EQ(back.cellWidth(), 16);
    EXPECT_EQ(back.sizeY(), 24);
    EXPECT_EQ(back.cellHeight(), 24);
    EXPECT_EQ(storeItem(back), expected);
}

TEST(MapItem, EmptyAndHostileRecords)
{
    const QByteArray prefix = recordHeader("x") + le32(0) + le32(1) + le32(3);
    // No columns: an empty map with 32 × 32 cells whatever sizes were stored.
    for (auto [columns, lines] : {std::pair{0, 5}, std::pair{4, 0}, std::pair{-3, -3}}) {
        CMapItem map;
        loadItem(map, prefix + le32(columns) + le32(lines) + le32(7) + le32(9));
        EXPECT_EQ(map.columnCount(), 0);
        EXPECT_EQ(map.lineCount(), 0);
        EXPECT_EQ(map.cellWidth(), 32);
        EXPECT_EQ(map.sizeY(), 32);
        EXPECT_EQ(map.mapType(), 3);
    }
    CMapItem map;
    EXPECT_THROW(loadItem(map, prefix + le32(0x7fffffff) + le32(0x7fffffff) + le32(32) + le32(32)), CArchiveException);
    EXPECT_THROW(loadItem(map, prefix + le32(65536) + le32(65536) + le32(32) + le32(32) + le16(1)), CArchiveException);
    // Two by three announced, five cells stored.
    QByteArray shortOne = prefix + le32(2) + le32(3) + le32(32) + le32(32);
    for (int i = 0; i < 5; ++i)
        shortOne += le16(std::int16_t(i));
    EXPECT_THROW(loadItem(map, shortOne), CArchiveException);
}

TEST(MapItem, ResizeKeepsCellsAndAsksBeforeLosingAny)
{
    CMapItem map;
    map.setCell(9, 9, 4);
    map.setCell(0, 0, 1);
    ScriptedPrompter prompter;
    EXPECT_EQ(map.resize(12, 10, prompter), 1);
    EXPECT_TRUE(prompter.messages.empty()) << "growing loses nothing and asks nothing";
    EXPECT_EQ(map.columnCount(), 12);
    EXPECT_EQ(map.cell(9, 9), 4);
    EXPECT_EQ(map.cell(0, 0), 1);
    EXPECT_EQ(map.cell(11, 9), -1);
    EXPECT_EQ(map.resize(12, 10, prompter), 0);

    map.setCell(7, 9, 3);
    EXPECT_EQ(map.resize(8, 12, prompter), 0) << "no answer means no";
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], CMapItem::kReduceQuestion);
    EXPECT_EQ(map.columnCount(), 12);
    EXPECT_EQ(map.cell(9, 9), 4);

    prompter.answers = {IPrompter::Answer::Yes};
    EXPECT_EQ(map.resize(8, 12, prompter), 1);
    EXPECT_EQ(prompter.messages.size(), 2u) << "asked once for both changes";
    EXPECT_EQ(map.columnCount(), 8);
    EXPECT_EQ(map.lineCount(), 12);
    EXPECT_EQ(map.cell(7, 9), 3);
    EXPECT_EQ(map.cell(7, 10), -1);
    EXPECT_EQ(map.cell(7, 11), -1);
    EXPECT_EQ(map.cell(0, 0), 1);

    // Sizes no map can have are refused before anything is asked or allocated.
    EXPECT_EQ(map.resize(-1, 5, prompter), 0);
    EXPECT_EQ(map.resize(100000, 100000, prompter), 0);
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(map.columnCount(), 8);
}

TEST(MapItem, ColumnsLinesAndCells)
{
    CMapItem map;
    setCells(map, {{1, 2}, {3, 4}});
    EXPECT_EQ(map.insertColumn(1), 1);
    EXPECT_EQ(map.insertLine(0), 1);
    EXPECT_EQ(map.insertColumn(99), 1) << "clamped to the end";
    EXPECT_EQ(map.insertLine(-5), 1) << "clamped to the start";
    EXPECT_EQ(cellsOf(map), (Cells{{-1, -1, 1, 2}, {-1, -1, -1, -1}, {-1, -1, 3, 4}, {-1, -1, -1, -1}}));
    EXPECT_EQ(map.removeColumn(4), 0);
    EXPECT_EQ(map.removeLine(-1), 0);
    EXPECT_EQ(map.removeColumn(1), 1);
    EXPECT_EQ(map.removeLine(1), 1);
    EXPECT_EQ(cellsOf(map), (Cells{{-1, 1, 2}, {-1, 3, 4}, {-1, -1, -1}}));

    EXPECT_EQ(map.cell(3, 0), 0) << "outside the map reads 0";
    EXPECT_EQ(map.cell(0, -1), 0);
    EXPECT_EQ(map.setCell(0, 3, 5), 0);
    EXPECT_EQ(map.setCell(0, 0, 40000), 0) << "a cell holds 16 bits";
    EXPECT_EQ(map.setCell(0, 0, 9), 1);
    EXPECT_EQ(map.cell(0, 0), 9);

    // Columns keep their height while the map has none.
    CMapItem thin;
    ScriptedPrompter yes;
    yes.answers = {IPrompter::Answer::Yes};
    thin.resize(0, 3, yes);
    thin.insertColumn(0);
    EXPECT_EQ(cellsOf(thin), (Cells{{-1, -1, -1}}));
}

TEST(MapItem, PixelToCell)
{
    CMapItem map;  // 10 × 10 cells of 32
    EXPECT_EQ(map.columnAt(0), 0);
    EXPECT_EQ(map.columnAt(32), 1);
    EXPECT_EQ(map.columnAt(319), 9);
    EXPECT_EQ(map.columnAt(320), -1);
    map.setSizeY(5);
    EXPECT_EQ(map.lineAt(49), 9);
    EXPECT_EQ(map.lineAt(50), -1);
    // A cell size of 0 or less (from a file or an edit) has no pixels.
    map.setSizeX(0);
    EXPECT_EQ(map.columnAt(0), -1);
    map.setSizeY(-4);
    EXPECT_EQ(map.lineAt(3), -1);
    map.setSizeX(2000000000);
    EXPECT_EQ(map.columnAt(2000000000), 1) << "no overflow of width × columns";
}

TEST(MapItem, CellsFollowBitmapRowsThroughTheHolder)
{
    auto holder = createDocumentHolder();
    auto* map = dynamic_cast<CMapItem*>(holder->get(GroupMaps, holder->newItem(GroupMaps, "level")));
    ASSERT_NE(map, nullptr);
    setCells(*map, {{0, 1, 2}, {4, -1, 0}});

    // Deleting bitmap 0: cells 0 become empty, every other index moves up.
    holder->renumberReferences(GroupBitmaps, CIndexChange::removed(0, 4));
    EXPECT_EQ(cellsOf(*map), (Cells{{-1, 0, 1}, {3, -1, -1}}));
    // Deleting bitmap 2 of 5: 2 is gone, 4 becomes 3, 1 stays.
    setCells(*map, {{2, 4, 1}, {-1, 3, 0}});
    holder->renumberReferences(GroupBitmaps, CIndexChange::removed(2, 4));
    EXPECT_EQ(cellsOf(*map), (Cells{{-1, 3, 1}, {-1, 2, 0}}));
    holder->renumberReferences(GroupBitmaps, CIndexChange::moved(3, 0));
    EXPECT_EQ(cellsOf(*map), (Cells{{-1, 0, 2}, {-1, 3, 1}}));
    holder->renumberReferences(GroupBitmaps, CIndexChange::swapped(2, 3));
    EXPECT_EQ(cellsOf(*map), (Cells{{-1, 0, 3}, {-1, 2, 1}}));
    // Maps moving or animations being deleted do not touch bitmap cells.
    holder->renumberReferences(GroupMaps, CIndexChange::removed(0, 0));
    holder->renumberReferences(GroupAnimations, CIndexChange::moved(0, 2));
    EXPECT_EQ(cellsOf(*map), (Cells{{-1, 0, 3}, {-1, 2, 1}}));

    EXPECT_EQ(map->addToCellsInRange(1, 3, -1), 3);
    EXPECT_EQ(map->replaceCells(-1, 5), 2);
    EXPECT_EQ(cellsOf(*map), (Cells{{5, 0, 2}, {5, 1, 0}}));
}

TEST(MapItem, DrawingPutsTilesOnTheGridWithinTheVisibleRange)
{
    auto holder = createDocumentHolder();
    holder->group(GroupBitmaps)->add(tile(0x0000ff, 5.0, -7.0));                              // red, offsets cancelled
    holder->group(GroupBitmaps)->add(tile(0xff0000, 0.0, 0.0, CDisplayBuffer::GdiPlusImage));  // blue, can be stretched
    CMapItem map;
    setCells(map, {{0, 1}, {-1, 9}, {1, 0}});  // 9 names no bitmap
    map.setSizeX(4);
    map.setSizeY(4);

    auto render = [&](bool stretched, QRect clip, int& drawn) {
        QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        drawn = stretched ? map.drawStretched(painter, *holder, QPoint(10, 20), clip)
                          : map.drawNaturalSize(painter, *holder, QPoint(10, 20), clip);
        painter.end();
        return canvas;
    };
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    int drawn = 0;
    QImage natural = render(false, QRect(0, 0, 40, 40), drawn);
    EXPECT_EQ(drawn, 4);
    EXPECT_EQ(natural.pixel(10, 20), red) << "column 0, line 0 at the origin";
    EXPECT_EQ(natural.pixel(11, 21), red);
    EXPECT_EQ(natural.pixel(12, 22), white) << "natural size: 2 × 2 in a 4 × 4 cell";
    EXPECT_EQ(natural.pixel(10, 24), blue) << "column 0, line 1";
    EXPECT_EQ(natural.pixel(18, 20), blue) << "column 2, line 0";
    EXPECT_EQ(natural.pixel(18, 24), red);
    EXPECT_EQ(natural.pixel(14, 20), white) << "empty cell";

    QImage stretched = render(true, QRect(0, 0, 40, 40), drawn);
    EXPECT_EQ(drawn, 4);
    EXPECT_EQ(stretched.pixel(13, 27), blue) << "the stretchable tile fills its cell";
    EXPECT_EQ(stretched.pixel(14, 28), white);

    // Only the cells the clip can show are drawn: here column 2 alone.
    render(false, QRect(18, 0, 4, 40), drawn);
    EXPECT_EQ(drawn, 2);
    // A clip left of and above the map clamps to the first column and line.
    render(false, QRect(0, 0, 3, 3), drawn);
    EXPECT_EQ(drawn, 1);

    map.setMapType(1);
    render(false, QRect(0, 0, 40, 40), drawn);
    EXPECT_EQ(drawn, 0);
    map.setMapType(0);
    map.setSizeX(0);
    render(true, QRect(0, 0, 40, 40), drawn);
    EXPECT_EQ(drawn, 0);
    CMapItem none;
    ScriptedPrompter yes;
    yes.answers = {IPrompter::Answer::Yes};
    none.resize(0, 0, yes);
    QImage canvas(8, 8, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    EXPECT_EQ(none.drawStretched(painter, *holder, QPoint(0, 0), QRect(0, 0, 8, 8)), 0);
}

// Drawn through a view of any scale, neighbouring tiles meet: no pixel of
// the map's area shows what lies under it.
TEST(MapItem, ScaledTilesLeaveNoGapBetweenThem)
{
    auto holder = createDocumentHolder();
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    auto square = std::make_unique<CDisplayBuffer>();
    square->attachImage(red);
    holder->group(GroupBitmaps)->add(std::move(square));
    CMapItem map;
    setCells(map, Cells(9, std::vector<int>(7, 0)));
    map.setSizeX(32);
    map.setSizeY(32);
    for (const double scale : {0.3, 0.9, 1.0, 1.37, 1.854, 2.5}) {
        QImage canvas(800, 600, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        // As a window's repaint of part of itself clips.
        const QRect clip(5, 5, 700, 500);
        painter.setClipRect(clip);
        const QTransform view = QTransform::fromTranslate(0.4, 0.7).scale(scale, scale);
        painter.setTransform(view);
        map.drawStretched(painter, *holder, QPoint(0, 0), QRect(0, 0, 288, 224));
        painter.end();
        const QRect area = view.mapRect(QRectF(0, 0, 288, 224)).toRect().adjusted(1, 1, -1, -1) & clip;
        int gaps = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                gaps += canvas.pixel(x, y) == qRgb(255, 255, 255);
        EXPECT_EQ(gaps, 0) << "at scale " << scale;
    }
}

// Zoomed out, each canvas pixel shows its cell's tile; an edited cell shows
// its new tile once told, and the kept picture equals one made afresh.
TEST(MapItem, ZoomedOutPictureFollowsTheCellsAndTheirEdits)
{
    auto holder = createDocumentHolder();
    holder->group(GroupBitmaps)->add(tile(0x0000ff, 0.0, 0.0, CDisplayBuffer::GdiPlusImage));
    holder->group(GroupBitmaps)->add(tile(0xff0000, 3.0, 1.0, CDisplayBuffer::GdiPlusImage));
    CMapItem map;
    setCells(map, {{0, 1}, {-1, 9}, {1, 0}});  // 9 names no bitmap
    map.setSizeX(10);
    map.setSizeY(10);
    const QTransform view = QTransform::fromScale(0.5, 0.5) * QTransform::fromTranslate(2, 3);
    CMapZoomedOutPicture kept;
    EXPECT_EQ(kept.picture(map, *holder, QTransform(), QSize(20, 20)), nullptr) << "at 1:1 each cell is drawn";
    const QRgb tiles[] = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    auto expectCells = [&](const QImage& picture) {
        for (int column = 0; column < map.columnCount(); ++column) {
            for (int line = 0; line < map.lineCount(); ++line) {
                const QPoint centre = view.map(QPoint(column * 10 + 5, line * 10 + 5));
                const int value = map.cell(column, line);
                EXPECT_EQ(picture.pixel(centre), value == 0 || value == 1 ? tiles[value] : 0u) << column << "," << line;
            }
        }
    };
    const QImage* picture = kept.picture(map, *holder, view, QSize(20, 20));
    ASSERT_NE(picture, nullptr);
    expectCells(*picture);
    EXPECT_EQ(picture->pixel(0, 0), 0u) << "outside the map";

    ASSERT_EQ(map.setCell(1, 0, 1), 1);
    kept.cellsChanged(QRect(1, 0, 1, 1));
    picture = kept.picture(map, *holder, view, QSize(20, 20));
    expectCells(*picture);
    CMapZoomedOutPicture fresh;
    EXPECT_EQ(*picture, *fresh.picture(map, *holder, view, QSize(20, 20)));
}

TEST(MapItem, EditorTexts)
{
    auto holder = createDocumentHolder();
    holder->group(GroupBitmaps)->add(tile(0, 0, 0));
    holder->get(GroupBitmaps, 0)->setId("grass");
    EXPECT_EQ(CMapEditorTexts::pickerRowCount(*holder), 2);
    EXPECT_EQ(CMapEditorTexts::pickerRow(*holder, 0), "-1 - Empty / Transparent");
    EXPECT_EQ(CMapEditorTexts::pickerRow(*holder, 1), "0 - grass");
    EXPECT_EQ(CMapEditorTexts::pickerRow(*holder, 2), "");
    CMapItem map;
    EXPECT_EQ(CMapEditorTexts::statusText(3, 4, map), "3, 4 (10, 10)");
}

TEST(MapItem, DocumentRoundTripAndJsonForm)
{
    TempFolder folder;
    ScriptedPrompter prompter;
    FixedKeySource keys({0x100, 0x12, 0x34, 0x56, 0x78, 0x9A});
    auto holder = createDocumentHolder();
    holder->setPrompter(&prompter);
    holder->setKeySource(&keys);
    auto* map = dynamic_cast<CMapItem*>(holder->get(GroupMaps, holder->newItem(GroupMaps, "level")));
    ASSERT_NE(map, nullptr);
    setCells(*map, {{3, -1, 2}, {1, 0, -32768}});
    map->setSizeX(48);
    map->setSizeY(16);
    map->setComments("first");
    ASSERT_GE(holder->newItem(GroupMaps, "blank"), 0);
    ASSERT_EQ(holder->save(folder.path("m.mrc")), 1);

    auto back = createDocumentHolder();
    back->setPrompter(&prompter);
    ASSERT_EQ(back->load(folder.path("m.mrc")), 1);
    ASSERT_EQ(back->count(GroupMaps), 2);
    auto* r = dynamic_cast<CMapItem*>(back->get(GroupMaps, 0));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->comments(), "first");
    EXPECT_EQ(cellsOf(*r), cellsOf(*map));
    EXPECT_EQ(r->sizeX(), 48);
    EXPECT_EQ(r->cellHeight(), 16);
    auto* blank = dynamic_cast<CMapItem*>(back->get(GroupMaps, 1));
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->columnCount(), 10);

    MapJson form;
    QJsonObject fields;
    form.describe(*r, fields);
    CMapItem copy;
    QString error;
    ASSERT_EQ(form.assign(copy, fields, QDir(), error), 1) << error.toStdString();
    EXPECT_EQ(cellsOf(copy), cellsOf(*map));
    EXPECT_EQ(copy.sizeX(), 48);
    EXPECT_EQ(copy.sizeY(), 16);

    ASSERT_EQ(form.assign(copy, QJsonDocument::fromJson(R"({"nbColumns": 2, "nbLines": 1})").object(), QDir(), error), 1);
    EXPECT_EQ(cellsOf(copy), (Cells{{-1}, {-1}}));
    for (const char* bad : {R"({"columns": [[1, 2], [3]]})", R"({"columns": [[70000]]})", R"({"nbColumns": -1})",
                            R"({"nbColumns": 100000, "nbLines": 100000})", R"({"sizeX": "big"})"}) {
        error.clear();
        EXPECT_EQ(form.assign(copy, QJsonDocument::fromJson(bad).object(), QDir(), error), 0) << bad;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(cellsOf(copy), (Cells{{-1}, {-1}})) << "a refused manifest changes nothing";
}
