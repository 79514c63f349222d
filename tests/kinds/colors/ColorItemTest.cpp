#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CItemKinds.h"
#include "kinds/colors/CColorItem.h"
#include "support/TestSupport.h"

#include "support/ItemBytes.h"

#include <gtest/gtest.h>

namespace {


} // namespace

TEST(ColorItem, NewRecordIsOpaqueBlack)
{
    CColorItem item;
    EXPECT_EQ(item.rgb(), 0);
    EXPECT_EQ(item.alpha(), 255);
    EXPECT_EQ(item.reserved(), 0);
    EXPECT_EQ(item.specsText(), "Alpha 255, RGB( 0, 0, 0 )");
}

TEST(ColorItem, SectionRecordBytesAndSpecifications)
{
    CColorItem item;
    item.setId("orange");
    item.setFromQColor(QColor(255, 128, 0, 64));
    EXPECT_EQ(item.rgb(), 0x000080FF);
    EXPECT_EQ(item.alpha(), 0x40);
    EXPECT_EQ(item.specsText(), "Alpha 64, RGB( 255, 128, 0 )");
    CSectionCoder plain;
    EXPECT_EQ(storeItem(item, plain), recordHeader("orange") + le32(0) + le32(1) + le32(0) + QByteArray::fromHex("ff800000") + QByteArray::fromHex("40"));
    EXPECT_EQ(item.toQColor(), QColor(255, 128, 0, 64));
}

TEST(ColorItem, ReadKeepsReservedAndWritesItBack)
{
    QByteArray bytes = recordHeader("c") + le32(5) + le32(3) + le32(0xdeadbeef) + QByteArray::fromHex("0a141e00") + QByteArray::fromHex("80");
    CSectionCoder plain;
    CColorItem item;
    EXPECT_EQ(loadItem(item, bytes, plain), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(item.reserved()), 0xdeadbeefu);
    EXPECT_EQ(item.red(), 10);
    EXPECT_EQ(item.green(), 20);
    EXPECT_EQ(item.blue(), 30);
    EXPECT_EQ(item.alpha(), 128);
    // The ignored leading words are written as 0 and 1; everything else as read.
    EXPECT_EQ(storeItem(item, plain), recordHeader("c") + le32(0) + le32(1) + bytes.mid(recordHeader("c").size() + 8));
}

TEST(ColorItem, SwatchHelpers)
{
    CColorItem c;
    c.setColor(CColorItem::makeRgb(200, 100, 0), 255);
    EXPECT_EQ(c.composedOver(CColorItem::makeRgb(255, 255, 255)), c.rgb()) << "opaque looks the same on any background";
    EXPECT_EQ(c.composedOver(0), c.rgb());
    c.setColor(CColorItem::makeRgb(200, 100, 0), 0);
    EXPECT_EQ(c.composedOver(CColorItem::makeRgb(1, 2, 3)), CColorItem::makeRgb(1, 2, 3)) << "transparent shows the background";
    c.setColor(CColorItem::makeRgb(255, 0, 0), 128);
    EXPECT_EQ(c.composedOver(0), CColorItem::makeRgb(128, 0, 0));
    c.setColor(CColorItem::makeRgb(255, 255, 200), 255);
    EXPECT_EQ(c.contrastingTextRgb(), 0);
    c.setColor(CColorItem::makeRgb(0, 0, 160), 255);
    EXPECT_EQ(c.contrastingTextRgb(), 0x00FFFFFF);

    CColorItem copy;
    copy.copyColorFrom(c);
    EXPECT_EQ(copy.rgb(), c.rgb());
    EXPECT_EQ(copy.alpha(), c.alpha());
}

TEST(ColorItem, RoundTripThroughASavedDocument)
{
    auto holder = createDocumentHolder();
    const std::vector<QColor> colours = {QColor(255, 128, 0, 64), QColor(0, 0, 0, 0), QColor(1, 2, 3, 255)};
    for (const QColor& c : colours) {
        auto* item = dynamic_cast<CColorItem*>(holder->get(GroupColors, holder->newItem(GroupColors, c.name().toStdString())));
        ASSERT_NE(item, nullptr);
        item->setFromQColor(c);
        item->setComments("alpha " + std::to_string(c.alpha()));
    }
    FixedKeySource keys({0x3344, 0x1101, 0x7f02, 0x0a0b});
    holder->setKeySource(&keys);
    TempFolder folder;
    ASSERT_EQ(holder->save(folder.path("colours.mrc")), 1);
    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(folder.path("colours.mrc")), 1);
    ASSERT_EQ(loaded->count(GroupColors), 3);
    for (int i = 0; i < 3; ++i) {
        auto* item = dynamic_cast<CColorItem*>(loaded->get(GroupColors, i));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->toQColor(), colours[std::size_t(i)]);
        EXPECT_EQ(item->id(), colours[std::size_t(i)].name().toStdString());
        EXPECT_EQ(item->comments(), holder->get(GroupColors, i)->comments());
    }
}
