#include "kinds/maps/CMapCellEdits.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CMapStamp.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
// A map drawn as lines of text: '.' an empty cell, a digit a bitmap index.
using Picture = std::vector<std::string>;

std::unique_ptr<CMapItem> mapOf(const Picture& picture)
{
    auto made = std::make_unique<CMapItem>();
    CMapItem& map = *made;
    map.clear();
    ScriptedPrompter never;
    map.resize(static_cast<int>(picture.front().size()), static_cast<int>(picture.size()), never);
    for (int y = 0; y < map.lineCount(); ++y)
        for (int x = 0; x < map.columnCount(); ++x) {
            const char c = picture[std::size_t(y)][std::size_t(x)];
            map.setCell(x, y, c == '.' ? -1 : c - '0');
        }
    return made;
}

Picture pictureOf(const CMapItem& map)
{
    Picture picture;
    for (int y = 0; y < map.lineCount(); ++y) {
        std::string line;
        for (int x = 0; x < map.columnCount(); ++x)
            line += map.cell(x, y) < 0 ? '.' : char('0' + map.cell(x, y));
        picture.push_back(line);
    }
    return picture;
}
} // namespace

TEST(MapCellEdits, ToolsChangeTheRightCellsAndTellWhere)
{
    struct Case {
        const char* name;
        Picture before;
        std::function<QRect(CMapItem&)> edit;
        Picture after;
        QRect changed;
    };
    const Case cases[] = {
        {"a stroke paints every cell it passes, even skipped ones",
         {".....", ".....", "....."},
         [](CMapItem& m) { return CMapCellEdits::paint(m, CMapCellEdits::cellsBetween({0, 0}, {4, 2}), 7); },
         {"7....", ".77..", "...77"}, QRect(QPoint(0, 0), QPoint(4, 2))},
        {"cells outside the map are left out", {"...", "..."},
         [](CMapItem& m) { return CMapCellEdits::paint(m, CMapCellEdits::cellsBetween({-2, 1}, {1, 1}), 3); },
         {"...", "33."}, QRect(QPoint(0, 1), QPoint(1, 1))},
        {"painting what is there changes nothing", {"11", "11"},
         [](CMapItem& m) { return CMapCellEdits::paint(m, {{0, 0}, {1, 1}}, 1); }, {"11", "11"}, QRect()},
        {"a fill stops at other cells and does not cross corners",
         {"..1..", ".1.1.", "1...1", ".111."},
         [](CMapItem& m) { return CMapCellEdits::floodFill(m, {2, 2}, 5); },
         {"..1..", ".151.", "15551", ".111."}, QRect(QPoint(1, 1), QPoint(3, 2))},
        {"a fill of the empty area around", {"..2", ".22", "222"},
         [](CMapItem& m) { return CMapCellEdits::floodFill(m, {0, 0}, 4); }, {"442", "422", "222"},
         QRect(QPoint(0, 0), QPoint(1, 1))},
        {"a fill with the value already there", {"33", "33"},
         [](CMapItem& m) { return CMapCellEdits::floodFill(m, {1, 1}, 3); }, {"33", "33"}, QRect()},
        {"a fill can empty cells", {"33", "13"}, [](CMapItem& m) { return CMapCellEdits::floodFill(m, {0, 0}, -1); },
         {"..", "1."}, QRect(QPoint(0, 0), QPoint(1, 1))},
        {"a rectangle from any corner, clamped to the map", {"....", "....", "...."},
         [](CMapItem& m) { return CMapCellEdits::fillRectangle(m, {9, 1}, {2, -3}, 8); }, {"..88", "..88", "...."},
         QRect(QPoint(2, 0), QPoint(3, 1))},
        // Stamps of several cells, taken from the map's own top-left corner.
        {"a stroke lays whole copies side by side from where it began", {"12.....", "34.....", "......."},
         [](CMapItem& m) {
             return CMapCellEdits::paint(m, CMapCellEdits::cellsBetween({3, 1}, {6, 1}),
                                         CMapStamp::fromMap(m, {1, 1}, {0, 0}), {3, 1});
         },
         {"12.....", "34.1212", "...3434"}, QRect(QPoint(3, 1), QPoint(6, 2))},
        {"a stamp hanging over the edge lays what fits", {"12.", "34."},
         [](CMapItem& m) { return CMapCellEdits::paint(m, {{2, 1}}, CMapStamp::fromMap(m, {0, 0}, {1, 1}), {2, 1}); },
         {"12.", "341"}, QRect(QPoint(2, 1), QPoint(2, 1))},
        {"a fill repeats the stamp from its start, the area found first", {"12....", "......", "....5."},
         [](CMapItem& m) { return CMapCellEdits::floodFill(m, {3, 1}, CMapStamp::fromMap(m, {0, 0}, {1, 0})); },
         {"122121", "212121", "212151"}, QRect(QPoint(0, 0), QPoint(5, 2))},
        {"a rectangle repeats the stamp from its top-left corner", {"1.2.", "....", "...."},
         [](CMapItem& m) { return CMapCellEdits::fillRectangle(m, {3, 2}, {1, 1}, CMapStamp::fromMap(m, {0, 0}, {2, 0})); },
         {"1.2.", ".1.2", ".1.2"}, QRect(QPoint(1, 1), QPoint(3, 2))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto map = mapOf(c.before);
        EXPECT_EQ(c.edit(*map), c.changed);
        EXPECT_EQ(pictureOf(*map), c.after);
    }
}
