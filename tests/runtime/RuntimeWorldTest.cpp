// Worlds played by the runtime, as a game plays them through the C
// interface, and by the editor's preview over the same saved document: the
// draw list after some game steps, by table.
#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"
#include "media/image/CDisplayBuffer.h"
#include "quillop/runtime/DrawOrder.h"
#include "quillop/runtime/quillop_runtime.h"
#include "support/TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {
struct Placed {
    int type;
    int index;
    double x, y;
    int trajectory = -1;
    bool show = true;
    bool play = true;
    double playSpeed = 1.0;
};

GameWorld& addWorld(CResourceHolder& holder, std::initializer_list<Placed> elements, int type = 0, int x = 0, int y = 0)
{
    auto& w = dynamic_cast<GameWorld&>(*holder.get(GroupWorlds, holder.newItem(GroupWorlds, "w")));
    w.setWorldType(type);
    w.setOffsetX(x);
    w.setOffsetY(y);
    for (const Placed& p : elements) {
        WorldElement& e = *w.elementAt(w.addElement("e"));
        e.objectType = p.type;
        e.objectIndex = p.index;
        e.offsetX = p.x;
        e.offsetY = p.y;
        e.trajectoryIndex = p.trajectory;
        e.show = p.show;
        e.play = p.play;
        e.playSpeed = p.playSpeed;
    }
    return w;
}

// Bitmap 0 is 4x4, bitmap 1 8x8 with an offset of (1, 0); trajectory 0 goes
// down 0, 4, 8, 12 once; animation 0 shows bitmap 0, then bitmap 1 one
// game step later with frame offsets (1, 1); map 0 holds both bitmaps.
void addObjects(CResourceHolder& holder)
{
    for (int side : {4, 8}) {
        auto& b = dynamic_cast<CBitmapItem&>(*holder.get(GroupBitmaps, holder.newItem(GroupBitmaps, "b")));
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(Qt::red);
        b.attachImage(image);
        b.setOffsetX(side == 8 ? 1.0 : 0.0);
    }
    auto& t = dynamic_cast<Trajectory&>(*holder.get(GroupTrajectories, holder.newItem(GroupTrajectories, "t")));
    for (int i = 0; i < 4; ++i)
        t.AddPoint(0, i * 4.0);
    t.SetPlayMode(0);
    auto& a = dynamic_cast<CAnimationItem&>(*holder.get(GroupAnimations, holder.newItem(GroupAnimations, "a")));
    a.addFrame(0);
    a.addFrame(1, 1, 1, 1);
    auto& m = dynamic_cast<CMapItem&>(*holder.get(GroupMaps, holder.newItem(GroupMaps, "m")));
    ScriptedPrompter prompter;
    m.resize(2, 1, prompter);
    m.setCell(0, 0, 0);
    m.setCell(1, 0, 1);
}

std::string item(bool map, int index, int x, int y)
{
    return (map ? "m" : "b") + std::to_string(index) + "@" + std::to_string(x) + "," + std::to_string(y) + " ";
}
} // namespace

TEST(RuntimeWorld, GamesAndTheEditorDrawTheSameListAfterEachStep)
{
    constexpr int B = WorldObjectBitmap, A = WorldObjectAnimation, M = WorldObjectMap;
    constexpr int In = WorldObjectWorldElements, Ref = WorldObjectWorldReference;
    constexpr int SortY = GameWorld::kTypeSortOffsetsY;
    struct Case {
        const char* what;
        std::function<void(CResourceHolder&)> worlds;
        int steps;
        int instances;
        // Corners as a game draws them (bitmap offsets added), in order.
        const char* expected;
    } cases[] = {
        {"list order, later on top", [](auto& h) { addWorld(h, {{B, 1, 10, 20}, {B, 0, 5, 5}, {M, 0, 40, 30}}); },
         0, 3, "b1@11,20 b0@5,5 m0@40,30 "},
        {"sorted by y, the world's offset added",
         [](auto& h) { addWorld(h, {{B, 0, 0, 30}, {B, 1, 0, 10}, {B, 0, 3, 20}}, SortY, 5, 5); }, 0, 3,
         "b1@6,15 b0@8,25 b0@5,35 "},
        {"a path moves an element before another",
         [](auto& h) { addWorld(h, {{B, 1, 0, 10}, {B, 0, 2, 8, 0}}, SortY); }, 0, 2, "b0@2,8 b1@1,10 "},
        {"a path moves it behind after one step",
         [](auto& h) { addWorld(h, {{B, 1, 0, 10}, {B, 0, 2, 8, 0}}, SortY); }, 1, 2, "b1@1,10 b0@2,12 "},
        {"a path played once stays at its end",
         [](auto& h) { addWorld(h, {{B, 1, 0, 10}, {B, 0, 2, 8, 0}}, SortY); }, 9, 2, "b1@1,10 b0@2,20 "},
        {"a paused element stays", [](auto& h) { addWorld(h, {{B, 0, 0, 0, 0, true, false}}); }, 3, 1, "b0@0,0 "},
        {"animation frames with their offsets", [](auto& h) { addWorld(h, {{A, 0, 60, 0}}); }, 0, 1, "b0@60,0 "},
        {"the next frame", [](auto& h) { addWorld(h, {{A, 0, 60, 0}}); }, 1, 1, "b1@62,1 "},
        {"a taken-in world hands down its offsets and speed, not the world's offset",
         [](auto& h) {
             addWorld(h, {{In, 1, 100, 0, -1, true, true, 2.0}});
             addWorld(h, {{B, 0, 1, 2, 0}}, 0, 50, 50);
         },
         1, 1, "b0@101,10 "},
        {"a hidden taken-in world hides its elements",
         [](auto& h) {
             addWorld(h, {{In, 1, 0, 0, -1, false}, {B, 0, 7, 7}});
             addWorld(h, {{B, 1, 0, 0}});
         },
         0, 2, "b0@7,7 "},
        {"a world played as one object, at its own offset",
         [](auto& h) {
             addWorld(h, {{Ref, 1, 30, 0}});
             addWorld(h, {{B, 0, 1, 1}, {A, 0, 0, 0}}, 0, 3, 0);
         },
         1, 1, "b0@34,1 b1@35,1 "},
        {"worlds met again on the way down are skipped",
         [](auto& h) {
             addWorld(h, {{B, 0, 0, 0}, {In, 1, 10, 0}});
             addWorld(h, {{B, 1, 0, 0}, {Ref, 0, 0, 0}, {In, 1, 0, 0}, {In, 0, 0, 0}});
         },
         2, 3, "b0@0,0 b1@11,0 "},
        {"rows that name nothing draw nothing",
         [](auto& h) { addWorld(h, {{B, 9, 0, 0}, {A, 9, 0, 0}, {M, 9, 0, 0}, {Ref, 9, 0, 0}, {In, 9, 0, 0}, {7, 0, 0, 0}}); },
         1, 5, ""},
    };
    const TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto holder = createDocumentHolder();
        addObjects(*holder);
        c.worlds(*holder);
        const std::string path = folder.path("worlds.mrc");
        ASSERT_EQ(holder->save(path), 1);

        QuillopDocument* document = nullptr;
        ASSERT_EQ(quillop_open_file(path.c_str(), nullptr, &document), QUILLOP_OK);
        QuillopWorld* world = quillop_world_new(document, 0);
        ASSERT_NE(world, nullptr);
        const QuillopDrawItem* items = nullptr;
        // A game lays its world out at every step; the order found at one
        // step is where the next one starts from.
        for (int i = 0; i < c.steps; ++i) {
            quillop_world_draw_list(world, 0, 0, &items);
            quillop_world_step(world, 1.0);
        }
        const int count = quillop_world_draw_list(world, 0, 0, &items);
        std::string game;
        for (int i = 0; i < count; ++i)
            game += item(items[i].kind == QUILLOP_DRAW_MAP, items[i].index, items[i].x, items[i].y);
        EXPECT_EQ(game, c.expected);
        EXPECT_EQ(quillop_world_instance_count(world), c.instances);
        EXPECT_DOUBLE_EQ(quillop_world_elapsed(world), c.steps);
        quillop_world_free(world);
        quillop_close(document);

        // The editor's preview, over the document it saved.
        WorldInstance preview;
        ASSERT_EQ(preview.build(*holder, 0), 1);
        for (int i = 0; i < c.steps; ++i)
            preview.step(1.0);
        std::vector<quillop::DrawItem> list;
        preview.drawList(0, 0, list);
        std::string editor;
        for (const quillop::DrawItem& d : list) {
            const bool map = d.kind == quillop::DrawItem::Map;
            const auto* b = map ? nullptr : dynamic_cast<const CDisplayBuffer*>(holder->get(GroupBitmaps, d.index));
            editor += item(map, d.index, d.x + int(b ? std::trunc(b->offsetX()) : 0), d.y);
        }
        EXPECT_EQ(editor, c.expected);
    }
}

TEST(RuntimeWorld, RefusesWhatNamesNoWorld)
{
    auto holder = createDocumentHolder();
    addObjects(*holder);
    addWorld(*holder, {{WorldObjectBitmap, 0, 0, 0}});
    const TempFolder folder;
    const std::string path = folder.path("one.mrc");
    ASSERT_EQ(holder->save(path), 1);
    QuillopDocument* document = nullptr;
    ASSERT_EQ(quillop_open_file(path.c_str(), nullptr, &document), QUILLOP_OK);
    EXPECT_EQ(quillop_world_new(document, 1), nullptr);
    EXPECT_EQ(quillop_world_new(document, -1), nullptr);
    EXPECT_EQ(quillop_world_new(nullptr, 0), nullptr);
    const QuillopDrawItem* items = nullptr;
    EXPECT_EQ(quillop_world_draw_list(nullptr, 0, 0, &items), 0);
    quillop_world_step(nullptr, 1.0);
    quillop_close(document);
}

// Ascending y, ties in list order, a y that is not a number first, over
// values that differ in any byte.
TEST(RuntimeWorld, DrawOrderByY)
{
    const double nan = std::nan("");
    const std::vector<double> ys = {5, 1, nan, 5, -2, 1, 0.0, -0.0, -INFINITY, 1e300, -1e-300, 5.000000000000001};
    const std::vector<std::size_t> expected = {2, 8, 4, 10, 6, 7, 1, 5, 0, 3, 11, 9};
    EXPECT_EQ(quillop::orderByY(ys), expected);
    EXPECT_TRUE(quillop::orderByY({}).empty());
}
