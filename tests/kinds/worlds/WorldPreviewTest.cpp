#include "WorldTestSupport.h"

#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/worlds/CWorldPathBounds.h"
#include "kinds/worlds/CWorldPicture.h"
#include "kinds/worlds/WorldInstance.h"
#include "support/TestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace worldtest;

namespace {
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

void addBitmap(CResourceHolder& holder, QColor colour, int side, double offsetX = 0)
{
    auto* bitmap = dynamic_cast<CBitmapItem*>(holder.get(GroupBitmaps, holder.newItem(GroupBitmaps, "b")));
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    bitmap->attachImage(image);
    bitmap->setOffsetX(offsetX);
}

Trajectory& addTrajectory(CResourceHolder& holder, int points, double stepY, int playMode)
{
    auto& t = *dynamic_cast<Trajectory*>(holder.get(GroupTrajectories, holder.newItem(GroupTrajectories, "t")));
    for (int i = 0; i < points; ++i)
        t.AddPoint(0, i * stepY);
    t.SetPlayMode(playMode);
    return t;
}

WorldElement& place(GameWorld& w, int type, int index, double x, double y)
{
    WorldElement& e = *w.elementAt(w.addElement("e"));
    e.objectType = type;
    e.objectIndex = index;
    e.offsetX = x;
    e.offsetY = y;
    return e;
}

// The demo scene: every object type, a trajectory, a hidden included world
// and a world of the "Sort Offsets Y" type.
void buildScene(CResourceHolder& holder)
{
    addBitmap(holder, kRed, 4);
    addBitmap(holder, kBlue, 8, 1.0);
    addTrajectory(holder, 4, 4.0, 0);  // forward once, y 0, 4, 8, 12

    auto& anim = *dynamic_cast<CAnimationItem*>(holder.get(GroupAnimations, holder.newItem(GroupAnimations, "a")));
    anim.addFrame(0);
    anim.addFrame(1, 1, 1, 0);

    auto& map = *dynamic_cast<CMapItem*>(holder.get(GroupMaps, holder.newItem(GroupMaps, "m")));
    ScriptedPrompter prompter;
    map.resize(2, 1, prompter);
    map.setSizeX(4);
    map.setSizeY(4);
    map.setCell(0, 0, 0);
    map.setCell(1, 0, 1);

    GameWorld& top = addWorld(holder);
    top.setWorldType(GameWorld::kTypeSortOffsetsY);
    top.setOffsetX(5);
    top.setOffsetY(5);
    place(top, WorldObjectBitmap, 1, 0, 10);
    place(top, WorldObjectBitmap, 0, 2, 8).trajectoryIndex = 0;
    place(top, WorldObjectWorldReference, 1, 30, 0);
    place(top, WorldObjectWorldElements, 2, 0, 0).show = false;
    place(top, WorldObjectMap, 0, 40, 30);
    place(top, WorldObjectAnimation, 0, 60, 0);

    GameWorld& sub = addWorld(holder);
    sub.setOffsetX(3);
    place(sub, WorldObjectBitmap, 0, 1, 1);
    GameWorld& hidden = addWorld(holder);
    place(hidden, WorldObjectBitmap, 0, 50, 50);
}

// What the scene must look like after `steps` game steps, drawn by hand.
QImage expectedScene(int steps)
{
    QImage image(96, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const int redY = 8 + 4 * steps;
    const QRect blue(5 + 0 + 1, 5 + 10, 8, 8);
    const QRect red(5 + 2, 5 + redY, 4, 4);
    // The lower of the two is drawn last.
    if (redY < 10) {
        p.fillRect(red, kRed);
        p.fillRect(blue, kBlue);
    } else {
        p.fillRect(blue, kBlue);
        p.fillRect(red, kRed);
    }
    p.fillRect(QRect(5 + 30 + 3 + 1, 5 + 1, 4, 4), kRed);  // the world played as one object
    p.fillRect(QRect(45, 35, 4, 4), kRed);                  // map cells, bitmap offsets cancelled
    p.fillRect(QRect(49, 35, 4, 4), kBlue);
    if (steps % 2 == 1)
        p.fillRect(QRect(5 + 60 + 1 + 1, 5, 8, 8), kBlue);  // frame offset and bitmap offset
    else
        p.fillRect(QRect(65, 5, 4, 4), kRed);
    return image;
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}
} // namespace

TEST(WorldPreview, PictureOfEveryObjectTypeInDrawingOrder)
{
    auto holder = createDocumentHolder();
    buildScene(*holder);
    for (int steps : {0, 1, 2}) {
        const QImage picture = CWorldPicture::render(*holder, 0, steps, QSize(96, 64), QPoint(0, 0));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(differingPixels(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied), expectedScene(steps)), 0)
            << "after " << steps << " steps";
    }
    // Equal offsets Y keep list order: the red square, listed after the
    // blue one, is drawn over it.
    WorldElement& red = *worldAt(*holder, 0)->elementAt(1);
    red.trajectoryIndex = -1;
    red.offsetY = 10;
    const QImage level = CWorldPicture::render(*holder, 0, 0, QSize(96, 64), QPoint(0, 0));
    ASSERT_FALSE(level.isNull());
    EXPECT_EQ(level.pixelColor(8, 16), kRed);
    red.trajectoryIndex = 0;
    red.offsetY = 8;
    // A simple world keeps list order: the moving red square stays on top.
    worldAt(*holder, 0)->setWorldType(GameWorld::kTypeSimple);
    const QImage simple = CWorldPicture::render(*holder, 0, 0, QSize(96, 64), QPoint(0, 0));
    EXPECT_EQ(simple.pixelColor(8, 15), kRed);
    EXPECT_TRUE(CWorldPicture::render(*holder, 3, 0, QSize(96, 64), QPoint()).isNull());
    EXPECT_TRUE(CWorldPicture::render(*holder, 0, 0, QSize(0, 64), QPoint()).isNull());
}

TEST(WorldPreview, IncludedWorldsHandDownSwitchesOffsetsAndTime)
{
    auto holder = createDocumentHolder();
    addTrajectory(*holder, 20, 1.0, 1).SetPlaySpeed(0.5);
    GameWorld& a = addWorld(*holder);
    a.setPlayOffset(1);
    a.setPlaySpeed(2);
    WorldElement& in = place(a, WorldObjectWorldElements, 1, 3, 4);
    in.show = false;
    in.playOffset = 2;
    in.playSpeed = 0.5;
    GameWorld& b = addWorld(*holder);
    b.setPlayOffset(10);
    WorldElement& moving = place(b, WorldObjectBitmap, -1, 0, 0);
    moving.trajectoryIndex = 0;
    moving.trajectoryPlayOffset = 1;
    moving.trajectoryPlaySpeed = 3;

    WorldInstance preview;
    ASSERT_EQ(preview.build(*holder, 0), 1);
    ASSERT_EQ(preview.instanceCount(), 1);
    const ElementInstance& e = *preview.instance(0);
    EXPECT_FALSE(e.inherited().show);
    EXPECT_EQ(e.inherited().offsetX, 3);
    EXPECT_EQ(e.inherited().offsetY, 4);
    EXPECT_EQ(e.inherited().playOffset, 1 + 2 + 10);
    EXPECT_EQ(e.inherited().playSpeed, 0.5);
    ASSERT_NE(e.clock(), nullptr);
    EXPECT_EQ(e.clock()->GetEnd(), 20);
    EXPECT_EQ(e.clock()->GetPosition(), 14);  // 0 + 1 + 13
    EXPECT_EQ(preview.elapsed(), 0);

    // a = 1 × 2; x = a × 0.5 × 1; the clock moves x × 0.5 × 3.
    preview.step(1.0);
    EXPECT_EQ(preview.elapsed(), 2);
    EXPECT_DOUBLE_EQ(e.clock()->GetPosition(), 15.5);
    EXPECT_DOUBLE_EQ(e.currentY(), 4 + 15.5);

    // Play off in the including element stops what it took in, once the
    // preview is rebuilt (what is inherited is taken at building).
    in.play = false;
    preview.build(*holder, 0);
    preview.step(1.0);
    EXPECT_EQ(preview.elapsed(), 2);
    EXPECT_EQ(preview.instance(0)->clock()->GetPosition(), 14);
}

TEST(WorldPreview, BrokenFilesAndStaleInstancesNeitherHangNorCrash)
{
    auto holder = createDocumentHolder();
    addBitmap(*holder, kRed, 2);
    // A world that includes itself both ways, as only a file can hold it.
    GameWorld& loop = addWorld(*holder, {{WorldObjectWorldElements, 0}, {WorldObjectWorldReference, 0}, {0, 0}});
    WorldInstance preview;
    ASSERT_EQ(preview.build(*holder, 0), 1);
    EXPECT_EQ(preview.instanceCount(), 2);  // the sub-world and the bitmap
    preview.step(1.0);

    // Forty worlds each taking the next one in twice would make 2^40 instances.
    auto wide = createDocumentHolder();
    for (int i = 0; i < 40; ++i)
        addWorld(*wide, {{WorldObjectWorldElements, i + 1}, {WorldObjectWorldElements, i + 1}, {0, 0}});
    WorldInstance big;
    big.build(*wide, 0);
    EXPECT_EQ(big.instanceCount(), WorldBuildContext::kMaxInstances);

    // Coordinates that overflow any int are drawn nowhere rather than wrapping.
    loop.elementAt(2)->offsetX = 1e300;
    loop.elementAt(2)->offsetY = std::nan("");
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        preview.draw(painter, 0, 0, image.rect());
    }
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);

    // Elements removed before the preview is rebuilt play and draw nothing.
    loop.removeAllElements();
    preview.step(1.0);
    QPainter painter(&image);
    preview.draw(painter, 0, 0, image.rect());
    holder->remove(GroupWorlds, 0);
    preview.step(1.0);
    preview.draw(painter, 0, 0, image.rect());
}

// Fitting the elements' paths: a square going down its path covers, over
// the steps followed, the column from where it starts to where it stops;
// with no steps, only where it is drawn now.
TEST(WorldPreview, PathBoundsFollowEveryElementAlongItsPath)
{
    auto holder = createDocumentHolder();
    addBitmap(*holder, kRed, 4);
    addTrajectory(*holder, 4, 4.0, 0);  // forward once, y 0, 4, 8, 12
    GameWorld& world = addWorld(*holder);
    place(world, WorldObjectBitmap, 0, 2, 8).trajectoryIndex = 0;
    EXPECT_EQ(CWorldPathBounds::over(*holder, 0, {10, 20}, 0), QRect(12, 28, 4, 4));
    EXPECT_EQ(CWorldPathBounds::over(*holder, 0, {10, 20}), QRect(12, 28, 4, 4 + 12));
    EXPECT_TRUE(CWorldPathBounds::over(*holder, 7, {0, 0}).isEmpty()) << "no world there";
}
