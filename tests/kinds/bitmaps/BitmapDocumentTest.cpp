#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "kinds/CBitmapSelectionAnimation.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/bitmaps/BitmapTestSupport.h"
#include "kinds/bitmaps/CBitmapInsertion.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/worlds/GameWorld.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace bitmaptest;

namespace {
CBitmapItem* bitmapAt(const CResourceHolder& holder, int row)
{
    return dynamic_cast<CBitmapItem*>(holder.get(GroupBitmaps, row));
}

// A 1 × 1 GIF whose only pixel is colour 0 (red) of a two-colour table: Qt
// reads GIF but does not write it.
QByteArray redGif()
{
    return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                      ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                      35);
}

void fillBitmaps(CResourceHolder& holder, int count)
{
    for (int i = 0; i < count; ++i)
        bitmapAt(holder, holder.newItem(GroupBitmaps, "b" + std::to_string(i)))->attachImage(quarters(2, 2));
}
} // namespace

TEST(BitmapInsertion, FileTitles)
{
    EXPECT_EQ(CBitmapInsertion::fileTitle("C:\\pics\\hero.walk.png"), "hero.walk");
    EXPECT_EQ(CBitmapInsertion::fileTitle("/home/me/art/tree.jpg"), "tree");
    EXPECT_EQ(CBitmapInsertion::fileTitle("v1.2/plain"), "plain") << "only the name's own dot counts";
    EXPECT_EQ(CBitmapInsertion::fileTitle("plain"), "plain");
    EXPECT_EQ(CBitmapInsertion::fileTitle("C:"), "");
    EXPECT_EQ(CBitmapInsertion::fileTitle(".png"), "");
}

TEST(BitmapInsertion, DecodesEveryCommonFormatAndDropsFailures)
{
    TempFolder folder;
    const QImage picture = quarters(8, 8);
    std::vector<std::string> paths;
    for (const char* format : {"png", "jpeg", "bmp", "tiff", "ico"}) {
        const QByteArray bytes = encode(picture, format);
        ASSERT_FALSE(bytes.isEmpty()) << format;
        paths.push_back(folder.path(std::string("pic_") + format + "." + format));
        writeAll(paths.back(), bytes);
    }
    paths.push_back(folder.path("dot.gif"));
    writeAll(paths.back(), redGif());
    paths.insert(paths.begin() + 2, folder.path("broken.png"));
    writeAll(folder.path("broken.png"), "\x89PNG but nothing else");
    paths.push_back(folder.path("missing.bmp"));

    auto holder = createDocumentHolder();
    fillBitmaps(*holder, 1);
    const std::vector<int> rows = CBitmapInsertion::insertImages(*holder, paths);
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(holder->count(GroupBitmaps), 7) << "failed loads leave no row";
    const char* ids[] = {"pic_png", "pic_jpeg", "pic_bmp", "pic_tiff", "pic_ico"};
    for (int i = 0; i < 5; ++i) {
        // Many files come in sorted by name.
        CBitmapItem* bitmap = bitmapAt(*holder, holder->findById(GroupBitmaps, ids[i]));
        EXPECT_EQ(bitmap->id(), ids[i]);
        EXPECT_EQ(bitmap->kind(), CDisplayBuffer::GdiPlusImage);
        EXPECT_EQ(bitmap->width(), 8.0) << ids[i];
        EXPECT_EQ(bitmap->height(), 8.0) << ids[i];
        EXPECT_EQ(bitmap->sourceBytes(), readAll(bitmap->sourceFilename()));
        // JPEG is lossy: the colours come back close, not exact.
        const QRgb corner = bitmap->pixel(7, 7);
        EXPECT_NEAR(qRed(corner), 255, 24) << ids[i];
        EXPECT_NEAR(qGreen(corner), 255, 24) << ids[i];
        EXPECT_NEAR(qBlue(corner), 0, 24) << ids[i];
    }
    EXPECT_EQ(holder->get(GroupBitmaps, 1)->id(), "dot");
    EXPECT_EQ(holder->get(GroupBitmaps, 6)->id(), "pic_tiff");
    CBitmapItem* gif = bitmapAt(*holder, 1);
    EXPECT_EQ(gif->id(), "dot");
    EXPECT_EQ(gif->width(), 1.0);
    EXPECT_EQ(gif->pixel(0, 0), qRgb(255, 0, 0));
}

TEST(BitmapJsonForm, PackDumpResaveAndExtract)
{
    TempFolder folder;
    const QByteArray png = encode(quarters(6, 4), "png");
    const QByteArray jpg = encode(quarters(8, 8), "jpeg");
    writeAll(folder.path("walk.png"), png);
    writeAll(folder.path("sky.jpg"), jpg);
    const QJsonObject manifest = QJsonDocument::fromJson(R"({"groups": {"bitmaps": [
        {"id": "walk", "file": "walk.png", "offsetX": -3, "offsetY": 1.5},
        {"id": "../../sky", "comments": "far", "file": "sky.jpg"},
        {"id": "zone", "rects": [[0, 0, 4, 2], [10, 10, 1, 1]]}
    ]}})").object();
    auto holder = createDocumentHolder();
    QString error;
    ASSERT_EQ(CDocumentJson::pack(manifest, QDir(QString::fromStdString(folder.path(""))), *holder, error), 1) << error.toStdString();
    EXPECT_EQ(bitmapAt(*holder, 0)->sourceFilename(), "walk.png");
    EXPECT_EQ(bitmapAt(*holder, 0)->offsetX(), -3.0);

    const QJsonObject dump = CDocumentJson::dump(*holder);
    const QJsonObject walk = dump["groups"].toObject()["bitmaps"].toArray()[0].toObject();
    EXPECT_EQ(walk["kind"].toInt(), 9);
    EXPECT_EQ(walk["width"].toDouble(), 6.0);
    EXPECT_EQ(walk["offsetY"].toDouble(), 1.5);
    EXPECT_EQ(walk["sourceSize"].toInteger(), png.size());
    EXPECT_EQ(walk["specs"].toString(), "32 Bits, 1 Frames");
    EXPECT_EQ(dump["groups"].toObject()["bitmaps"].toArray()[2].toObject()["bits"].toInt(), 1);

    FixedKeySource keys({7, 11, 13, 17});
    holder->setKeySource(&keys);
    ASSERT_EQ(holder->save(folder.path("doc.mrc")), 1);
    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(folder.path("doc.mrc")), 1);
    EXPECT_EQ(CDocumentJson::dump(*loaded), dump);

    const QDir out(QString::fromStdString(folder.path("out")));
    ASSERT_GE(CDocumentJson::extract(*loaded, out, error), 2) << error.toStdString();
    EXPECT_EQ(readAll(out.filePath("bitmaps/0000_walk.png").toStdString()), png);
    const QStringList written = QDir(out.filePath("bitmaps")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 2) << "a region has no file";
    EXPECT_TRUE(written[1].endsWith("sky.jpg")) << written[1].toStdString();
    EXPECT_EQ(readAll(out.filePath("bitmaps/" + written[1]).toStdString()), jpg);
}

TEST(BitmapSelection, MakesAnAnimationInSelectionOrder)
{
    auto holder = createDocumentHolder();
    fillBitmaps(*holder, 8);
    const int row = CBitmapSelectionAnimation::make(*holder, {4, 1, 7, 8, -1});
    ASSERT_EQ(row, 0);
    auto* animation = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, row));
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->id(), "Bitmaps Selection");
    EXPECT_EQ(animation->animationType(), 1);
    EXPECT_EQ(animation->playMode(), 1);
    const std::vector<CAnimationFrame> expected = {{4, 1, 0, 0}, {1, 1, 0, 0}, {7, 1, 0, 0}};
    EXPECT_EQ(animation->frames(), expected) << "rows that are not bitmaps are left out";

    EXPECT_EQ(CBitmapSelectionAnimation::make(*holder, {}), -1);
    EXPECT_EQ(CBitmapSelectionAnimation::make(*holder, {9}), -1);
    EXPECT_EQ(holder->count(GroupAnimations), 1);
}

TEST(BitmapReferences, FramesFollowDeletedMovedAndSwappedBitmaps)
{
    auto holder = createDocumentHolder();
    fillBitmaps(*holder, 5);
    const int row = CBitmapSelectionAnimation::make(*holder, {2, 4, 1, 0});
    auto* animation = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, row));
    auto frameBitmaps = [&] {
        std::vector<int> out;
        for (const CAnimationFrame& f : animation->frames())
            out.push_back(f.bitmap);
        return out;
    };
    ASSERT_EQ(holder->remove(GroupBitmaps, 2), 1);
    holder->renumberReferences(GroupBitmaps, CIndexChange::removed(2, holder->count(GroupBitmaps)));
    EXPECT_EQ(frameBitmaps(), (std::vector<int>{-1, 3, 1, 0}));

    ASSERT_EQ(holder->move(GroupBitmaps, 0, 3), 1);
    holder->renumberReferences(GroupBitmaps, CIndexChange::moved(0, 3));
    EXPECT_EQ(frameBitmaps(), (std::vector<int>{-1, 2, 0, 3}));

    ASSERT_EQ(holder->swap(GroupBitmaps, 0, 2), 1);
    holder->renumberReferences(GroupBitmaps, CIndexChange::swapped(0, 2));
    EXPECT_EQ(frameBitmaps(), (std::vector<int>{-1, 0, 2, 3}));
    // Every frame still names the bitmap it named before.
    EXPECT_EQ(holder->get(GroupBitmaps, 0)->id(), "b4");
    EXPECT_EQ(holder->get(GroupBitmaps, 2)->id(), "b1");
    EXPECT_EQ(holder->get(GroupBitmaps, 3)->id(), "b0");

    // Changes of other groups leave bitmap references alone.
    holder->renumberReferences(GroupMaps, CIndexChange::removed(0, 0));
    EXPECT_EQ(frameBitmaps(), (std::vector<int>{-1, 0, 2, 3}));
}

TEST(BitmapReferences, EveryReferringKindFollowsADeletedBitmap)
{
    auto holder = createDocumentHolder();
    fillBitmaps(*holder, 5);
    auto* map = dynamic_cast<CMapItem*>(holder->get(GroupMaps, holder->newItem(GroupMaps, "m")));
    ASSERT_NE(map, nullptr);
    map->insertColumn(0);
    for (int i = 0; i < 3; ++i)
        map->insertLine(0);
    map->setCell(0, 0, 2);
    map->setCell(0, 1, 4);
    map->setCell(0, 2, 1);
    auto* world = dynamic_cast<GameWorld*>(holder->get(GroupWorlds, holder->newItem(GroupWorlds, "w")));
    ASSERT_NE(world, nullptr);
    WorldElement* picture = world->elementAt(world->addElement("picture"));
    picture->objectType = WorldObjectBitmap;
    picture->objectIndex = 4;
    WorldElement* walk = world->elementAt(world->addElement("walk"));
    walk->objectType = WorldObjectAnimation;
    walk->objectIndex = 4;

    ASSERT_EQ(holder->remove(GroupBitmaps, 2), 1);
    holder->renumberReferences(GroupBitmaps, CIndexChange::removed(2, holder->count(GroupBitmaps)));
    EXPECT_EQ(map->cell(0, 0), -1);
    EXPECT_EQ(map->cell(0, 1), 3);
    EXPECT_EQ(map->cell(0, 2), 1);
    EXPECT_EQ(world->elementAt(0)->objectIndex, 3);
    EXPECT_EQ(world->elementAt(1)->objectIndex, 4) << "an animation reference is not a bitmap reference";
}
