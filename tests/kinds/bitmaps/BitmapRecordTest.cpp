#include "core/CArchiveException.h"
#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/bitmaps/BitmapTestSupport.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace bitmaptest;

namespace {
QByteArray fields(int kind, const std::string& id, const std::string& source, const std::string& comments, double w,
                  double h, int bits, double ox, double oy)
{
    return le32(0) + le32(2) + le32(std::uint32_t(kind)) + str(id) + str(source) + str(comments) + f64(w) + f64(h) +
           le32(std::uint32_t(bits)) + le32(1) + f64(ox) + f64(oy);
}
} // namespace

TEST(BitmapRecord, ImageRecordBytesAndReadBack)
{
    const QByteArray png = encode(quarters(6, 4), "png");
    ASSERT_FALSE(png.isEmpty());
    TempFolder folder;
    writeAll(folder.path("hero.png"), png);

    CBitmapItem item;
    ASSERT_EQ(item.loadFromFile(CDisplayBuffer::GdiPlusImage, folder.path("hero.png")), 1);
    item.setId("hero");
    item.setComments("walks");
    item.setOffsetX(-2.5);
    item.setOffsetY(7);
    EXPECT_EQ(item.usedGameMemory(), 6 * 4 * 4);
    const QByteArray expected = itemHeader("hero", "walks") +
                                fields(9, "hero", folder.path("hero.png"), "walks", 6, 4, 32, -2.5, 7) +
                                le32(std::uint32_t(png.size())) + png;
    CSectionCoder plain;
    const QByteArray bytes = store(item, plain);
    EXPECT_EQ(bytes, expected);

    // The record's own ID and comments win over the header's; the payload
    // is decoded and kept as the source bytes.
    QByteArray other = itemHeader("stale", "stale") + bytes.mid(itemHeader("hero", "walks").size());
    CBitmapItem read;
    EXPECT_EQ(load(read, other, plain), 0);
    EXPECT_EQ(read.id(), "hero");
    EXPECT_EQ(read.comments(), "walks");
    EXPECT_EQ(read.kind(), CDisplayBuffer::GdiPlusImage);
    EXPECT_EQ(read.sourceFilename(), folder.path("hero.png"));
    EXPECT_EQ(read.sourceBytes(), png);
    EXPECT_EQ(read.width(), 6.0);
    EXPECT_EQ(read.height(), 4.0);
    EXPECT_EQ(read.offsetX(), -2.5);
    EXPECT_EQ(read.offsetY(), 7.0);
    EXPECT_EQ(read.pixel(5, 3), 0xFFFFFF00u);
    EXPECT_EQ(store(read, plain), expected);
}

TEST(BitmapRecord, RegionRecordBytes)
{
    CBitmapItem item;
    item.setRegion(QRegion(QRect(1, 2, 3, 4)));
    EXPECT_EQ(item.specsText(), "1 Bits, 1 Frames");
    // Header (size 32, type 1, one rectangle, 16 bytes, bounding box) then
    // the rectangle, right and bottom exclusive.
    const QByteArray rgn = le32(32) + le32(1) + le32(1) + le32(16) + le32(1) + le32(2) + le32(4) + le32(6) + le32(1) +
                           le32(2) + le32(4) + le32(6);
    EXPECT_EQ(item.usedGameMemory(), rgn.size());
    CSectionCoder plain;
    const QByteArray expected = itemHeader("", "") + fields(6, "", "", "", 3, 4, 1, 0, 0) + le32(48) + rgn;
    EXPECT_EQ(store(item, plain), expected);
    CBitmapItem read;
    EXPECT_EQ(load(read, expected, plain), 0);
    EXPECT_EQ(read.kind(), CDisplayBuffer::PaintingRegion);
    ASSERT_NE(read.region(), nullptr);
    EXPECT_EQ(*read.region(), QRegion(QRect(1, 2, 3, 4)));

    // A size of 0 or less has nothing after it.
    CBitmapItem empty;
    EXPECT_EQ(load(empty, itemHeader("", "") + fields(6, "", "", "", 0, 0, 1, 0, 0) + le32(0xFFFFFFFF), plain), 0);
    EXPECT_EQ(empty.kind(), CDisplayBuffer::PaintingRegion);
}

// Records whose picture cannot be rebuilt here still go back to the file as
// they came: nothing a resave does may lose them.
TEST(BitmapRecord, UnreadableRecordsAreWrittenBackUnchanged)
{
    CSectionCoder plain;
    const QByteArray junk("not a picture at all");
    const QByteArray image = itemHeader("a", "b") + fields(9, "a", "x.emf", "b", 120, 80, 32, 3, 4) + le32(std::uint32_t(junk.size())) + junk;
    const QByteArray badRegion = itemHeader("r", "") + fields(6, "r", "", "", 5, 5, 1, 0, 0) + le32(8) + QByteArray(8, 'z');
    const QByteArray dib = itemHeader("d", "") + fields(4, "d", "", "", 640, 480, 32, 0, 0);
    const QByteArray unknown = itemHeader("u", "") + fields(31, "u", "", "", 1, 1, 32, 0, 0);
    for (const QByteArray& record : {image, badRegion, dib, unknown}) {
        CBitmapItem item;
        EXPECT_EQ(load(item, record, plain), 0);
        EXPECT_EQ(item.kind(), CDisplayBuffer::Empty) << "nothing to draw";
        EXPECT_EQ(store(item, plain), record);
    }
    CBitmapItem item;
    load(item, image, plain);
    EXPECT_EQ(item.recordKind(), CDisplayBuffer::GdiPlusImage);
    EXPECT_EQ(item.sourceBytes(), junk);
    EXPECT_EQ(item.sourceFilename(), "x.emf");
    EXPECT_EQ(item.width(), 120.0);
    // Loading a real picture into it makes it an ordinary record again.
    item.attachImage(quarters(2, 2));
    EXPECT_EQ(item.recordKind(), CDisplayBuffer::GdiPlusImage);
    EXPECT_EQ(item.width(), 2.0);
    item.reset();
    EXPECT_EQ(item.recordKind(), CDisplayBuffer::Empty);
}

TEST(BitmapRecord, PictureWithoutSourceIsStoredAsPng)
{
    CBitmapItem item;
    ASSERT_EQ(item.attachImage(quarters(4, 2)), 1);
    ASSERT_TRUE(item.sourceBytes().isEmpty());
    CSectionCoder plain;
    CBitmapItem read;
    load(read, store(item, plain), plain);
    ASSERT_EQ(read.kind(), CDisplayBuffer::GdiPlusImage);
    EXPECT_EQ(read.image().convertToFormat(QImage::Format_ARGB32), quarters(4, 2));
    EXPECT_TRUE(read.sourceBytes().startsWith("\x89PNG"));
}

TEST(BitmapRecord, HostilePayloadSizesAreRefusedBeforeAllocating)
{
    CSectionCoder plain;
    for (int kind : {9, 6}) {
        const QByteArray record = itemHeader("h", "") + fields(kind, "h", "", "", 1, 1, 32, 0, 0) + le32(0x7FFFFFF0) + QByteArray(16, 'x');
        CBitmapItem item;
        try {
            load(item, record, plain);
            ADD_FAILURE() << "kind " << kind << " read a payload larger than the file";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.cause(), CArchiveException::Cause::BadLength);
        }
    }
}

TEST(BitmapRecord, DocumentRoundTripKeepsSourceBytesExactly)
{
    TempFolder folder;
    const QByteArray png = encode(quarters(8, 6), "png");
    const QByteArray jpg = encode(quarters(16, 16), "jpeg");
    writeAll(folder.path("a.png"), png);
    writeAll(folder.path("b.jpg"), jpg);

    auto holder = createDocumentHolder();
    for (const char* name : {"a.png", "b.jpg"}) {
        auto* item = dynamic_cast<CBitmapItem*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, name)));
        ASSERT_NE(item, nullptr);
        ASSERT_EQ(item->loadFromFile(CDisplayBuffer::GdiPlusImage, folder.path(name)), 1);
        item->setOffsetX(holder->count(GroupBitmaps) * 10.0);
    }
    auto* region = dynamic_cast<CBitmapItem*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "zone")));
    region->setRegion(QRegion(0, 0, 10, 10) + QRegion(20, 5, 4, 4));

    FixedKeySource keys({0x1234, 0x0456, 0x7abc, 0x0def});
    holder->setKeySource(&keys);
    ASSERT_EQ(holder->save(folder.path("doc.mrc")), 1);
    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(folder.path("doc.mrc")), 1);
    ASSERT_EQ(loaded->count(GroupBitmaps), 3);
    const QByteArray originals[] = {png, jpg};
    for (int i = 0; i < 2; ++i) {
        auto* before = dynamic_cast<CBitmapItem*>(holder->get(GroupBitmaps, i));
        auto* after = dynamic_cast<CBitmapItem*>(loaded->get(GroupBitmaps, i));
        ASSERT_NE(after, nullptr);
        EXPECT_EQ(after->sourceBytes(), originals[i]);
        EXPECT_EQ(after->sourceFilename(), before->sourceFilename());
        EXPECT_EQ(after->offsetX(), before->offsetX());
        EXPECT_EQ(after->image(), before->image());
    }
    auto* zone = dynamic_cast<CBitmapItem*>(loaded->get(GroupBitmaps, 2));
    ASSERT_NE(zone->region(), nullptr);
    EXPECT_EQ(*zone->region(), *region->region());

    // Saving again writes the same sections (same keys, same records).
    FixedKeySource sameKeys({0x1234, 0x0456, 0x7abc, 0x0def});
    loaded->setKeySource(&sameKeys);
    ASSERT_EQ(loaded->save(folder.path("again.mrc")), 1);
    EXPECT_EQ(readAll(folder.path("again.mrc")), readAll(folder.path("doc.mrc")));
}

TEST(BitmapRecord, EveryTruncationIsRefusedCleanly)
{
    CBitmapItem source;
    source.attachImage(quarters(3, 3));
    source.setId("t");
    CBitmapItem region;
    region.setRegion(QRegion(0, 0, 2, 2) + QRegion(5, 5, 1, 1));
    CSectionCoder plain;
    for (CBitmapItem* item : {&source, &region}) {
        const QByteArray whole = store(*item, plain);
        for (qsizetype n = 0; n < whole.size(); ++n) {
            CBitmapItem read;
            EXPECT_THROW(load(read, whole.left(n), plain), CArchiveException) << n << " of " << whole.size();
        }
    }
}
