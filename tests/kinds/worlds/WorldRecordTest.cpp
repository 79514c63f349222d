#include "WorldTestSupport.h"

#include "core/CArchiveException.h"
#include "core/CResourceHolder.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/WorldJson.h"
#include "support/TestSupport.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace worldtest;

namespace {
QByteArray elementBytes(const std::string& id, int type, double x, double y, bool show, bool play, double po, double ps,
                        int index, double opo, double ops, int trajectory, double tpo, double tps, int firstType)
{
    return le32(0) + le32(1) + text(id) + text("") + le32(firstType) + le64(x) + le64(y) +
           QByteArray(1, show ? '\1' : '\0') + QByteArray(1, play ? '\1' : '\0') + le64(po) + le64(ps) + le32(type) +
           le32(index) + le64(opo) + le64(ops) + le32(trajectory) + le64(tpo) + le64(tps);
}

void fillSample(GameWorld& w)
{
    w.setId("level");
    w.setWorldType(GameWorld::kTypeSortOffsetsY);
    w.setOffsetX(-3);
    w.setOffsetY(12);
    w.setPlayOffset(2.5);
    w.setPlaySpeed(0.75);
    WorldElement& e = *w.elementAt(w.addElement("tree"));
    e.objectType = WorldObjectAnimation;
    e.objectIndex = 7;
    e.offsetX = 1.5;
    e.offsetY = -4.0;
    e.show = false;
    e.playOffset = 3.0;
    e.playSpeed = 2.0;
    e.objectPlayOffset = 0.25;
    e.objectPlaySpeed = 0.5;
    e.trajectoryIndex = 2;
    e.trajectoryPlayOffset = 9.0;
    e.trajectoryPlaySpeed = -1.0;
    w.addElement("");
}
} // namespace

TEST(GameWorldRecord, SectionBytesInStoredOrderAndReadBack)
{
    GameWorld w;
    fillSample(w);
    const QByteArray expected = header("level") + le32(0) + le32(1) + le32(1) + le32(-3) + le32(12) + le64(2.5) +
                                le64(0.75) + le32(2) +
                                elementBytes("tree", 1, 1.5, -4.0, false, true, 3.0, 2.0, 7, 0.25, 0.5, 2, 9.0, -1.0, 1) +
                                elementBytes("", 0, 0, 0, true, true, 0, 1, -1, 0, 1, -1, 0, 1, 0);
    const QByteArray stored = store(w);
    EXPECT_EQ(stored, expected);

    // Reading removes the elements a record had before.
    GameWorld back;
    back.addElement("old");
    back.addElement("old");
    back.addElement("old");
    load(back, stored);
    EXPECT_EQ(store(back), stored);
    ASSERT_EQ(back.elementCount(), 2);
    EXPECT_FALSE(back.elementAt(0)->show);
    EXPECT_EQ(back.elementAt(0)->trajectoryPlaySpeed, -1.0);
}

TEST(GameWorldRecord, TheSecondObjectTypeIsTheOneKept)
{
    GameWorld w;
    load(w, header("w") + le32(5) + le32(9) + le32(0) + le32(0) + le32(0) + le64(0) + le64(1) + le32(1) +
                elementBytes("e", 4, 0, 0, true, false, 0, 1, 3, 0, 1, -1, 0, 1, 2));
    ASSERT_EQ(w.elementCount(), 1);
    EXPECT_EQ(w.elementAt(0)->objectType, 4);
    EXPECT_FALSE(w.elementAt(0)->play);
}

TEST(GameWorldRecord, HostileElementCountsAreRefusedBeforeAllocating)
{
    const QByteArray prefix = header("w") + le32(0) + le32(1) + le32(0) + le32(0) + le32(0) + le64(0) + le64(1);
    GameWorld w;
    EXPECT_THROW(load(w, prefix + le32(0x7fffffff)), CArchiveException);
    // Two announced, one stored: the second cannot fit in what remains.
    EXPECT_THROW(load(w, prefix + le32(2) + elementBytes("", 0, 0, 0, true, true, 0, 1, -1, 0, 1, -1, 0, 1, 0)),
                 CArchiveException);
    // An element whose ID is longer than the file.
    EXPECT_THROW(load(w, prefix + le32(1) + le32(0) + le32(1) + le32(1 << 30) + QByteArray(120, '\0')),
                 CArchiveException);
    GameWorld negative;
    negative.addElement("x");
    load(negative, prefix + le32(-4));
    EXPECT_EQ(negative.elementCount(), 0);
}

TEST(GameWorldRecord, ElementOperationsRefuseRowsOutOfRange)
{
    GameWorld w;
    for (const char* id : {"a", "b", "c", "d"})
        w.addElement(id);
    auto ids = [&] {
        std::string s;
        for (const WorldElement& e : w.elements())
            s += e.id;
        return s;
    };
    EXPECT_EQ(w.moveElement(0, 2), 1);
    EXPECT_EQ(ids(), "bcad");
    EXPECT_EQ(w.moveElement(3, 0), 1);
    EXPECT_EQ(ids(), "dbca");
    EXPECT_EQ(w.moveElement(1, 1), 1);
    EXPECT_EQ(w.swapElements(0, 3), 1);
    EXPECT_EQ(ids(), "abcd");
    EXPECT_EQ(w.moveElement(0, 4), 0);
    EXPECT_EQ(w.moveElement(-1, 0), 0);
    EXPECT_EQ(w.swapElements(2, 4), 0);
    EXPECT_EQ(w.removeElement(4), 0);
    EXPECT_EQ(w.elementAt(4), nullptr);
    EXPECT_EQ(w.elementAt(-1), nullptr);
    EXPECT_EQ(ids(), "abcd");
    EXPECT_EQ(w.removeElement(1), 1);
    EXPECT_EQ(ids(), "acd");
    w.removeAllElements();
    EXPECT_EQ(w.elementCount(), 0);
}

TEST(GameWorldRecord, DocumentFileAndJsonKeepEveryField)
{
    TempFolder folder;
    auto holder = createDocumentHolder();
    FixedKeySource keys({0x1234, 0x5678, 0x9abc, 0xdef0});
    holder->setKeySource(&keys);
    GameWorld& w = *worldAt(*holder, holder->newItem(GroupWorlds, "level"));
    GameWorld sample;
    fillSample(sample);
    load(w, store(sample));
    ASSERT_EQ(holder->save(folder.path("w.mrc")), 1);

    auto back = createDocumentHolder();
    ASSERT_EQ(back->load(folder.path("w.mrc")), 1);
    ASSERT_EQ(back->count(GroupWorlds), 1);
    EXPECT_EQ(store(*back->get(GroupWorlds, 0)), store(sample));

    // The JSON form describes every field and a manifest of it builds the same record.
    QJsonObject fields;
    WorldJson json;
    json.describe(sample, fields);
    EXPECT_EQ(fields["typeText"].toString(), "Sort Offsets Y");
    const QJsonObject first = fields["elements"].toArray()[0].toObject();
    EXPECT_EQ(first["objectTypeText"].toString(), "Animation");
    EXPECT_EQ(first["trajectoryPlayOffset"].toDouble(), 9.0);
    GameWorld packed;
    packed.setId("level");
    QString error;
    ASSERT_EQ(json.assign(packed, fields, QDir(), error), 1) << error.toStdString();
    EXPECT_EQ(store(packed), store(sample));

    // Types by text; wrong kinds of values are refused with the record unchanged.
    QJsonObject manifest{{"type", "Simple"},
                         {"elements", QJsonArray{QJsonObject{{"objectType", "World Reference"}, {"objectIndex", 0}}}}};
    ASSERT_EQ(json.assign(packed, manifest, QDir(), error), 1);
    EXPECT_EQ(packed.worldType(), 0);
    EXPECT_EQ(packed.elementAt(0)->objectType, 4);
    for (const QJsonObject& bad : {QJsonObject{{"type", "Sorted"}}, QJsonObject{{"offsetX", 1.5}},
                                   QJsonObject{{"elements", QJsonArray{QJsonObject{{"show", 1}}}}},
                                   QJsonObject{{"elements", QJsonArray{QJsonObject{{"objectIndex", "a"}}}}}}) {
        EXPECT_EQ(json.assign(packed, bad, QDir(), error), 0);
        EXPECT_EQ(packed.elementCount(), 1);
    }
    EXPECT_NE(kindJson(GroupWorlds), nullptr);
}
