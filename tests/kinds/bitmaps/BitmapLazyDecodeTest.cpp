#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/bitmaps/BitmapTestSupport.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "media/image/CImageFiles.h"
#include "media/image/CPictureThumbnails.h"
#include "support/TestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <latch>
#include <memory>
#include <thread>

using namespace bitmaptest;

namespace {
// Large enough that a decode takes a while, so that two threads asking at
// once really meet; small enough that the image library converts it on the
// calling thread (its own worker threads are outside the race checker's sight).
constexpr int kWidth = 320;
constexpr int kHeight = 240;

QByteArray record(const QByteArray& payload, double w, double h)
{
    return itemHeader("p", "") + le32(0) + le32(2) + le32(9) + str("p") + str("p.png") + str("") + f64(w) + f64(h) +
           le32(32) + le32(1) + f64(1) + f64(2) + le32(std::uint32_t(payload.size())) + payload;
}

// The bottom right pixel of the quarters picture, as drawn.
std::uint32_t drawnCorner(const CBitmapItem& item)
{
    QImage target(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    item.draw(painter, -1, -2);
    painter.end();
    return target.pixel(kWidth - 1, kHeight - 1);
}
} // namespace

// A picture read from a file keeps its bytes and decodes them the first
// time its pixels are asked for; whatever happens, the record goes back to
// the file as it was read.
TEST(BitmapLazyDecode, PicturesDecodeWhenFirstUsedAndSaveAsRead)
{
    const QByteArray png = encode(quarters(kWidth, kHeight), "png");
    // The header states a size, the pixels are cut off.
    const QByteArray broken = png.left(png.size() - 20);
    const std::function<void(const CBitmapItem&)> nothing = [](const CBitmapItem&) {};
    const std::function<void(const CBitmapItem&)> draw = [](const CBitmapItem& item) {
        const std::uint32_t drawn = drawnCorner(item);
        EXPECT_EQ(drawn, item.kind() == CDisplayBuffer::Empty ? 0u : 0xFFFFFF00u);
    };
    // Two threads ask at once (the game step and the grid's paint): one
    // decodes, the other waits for it and sees the same pixels.
    const std::function<void(const CBitmapItem&)> twoThreads = [](const CBitmapItem& item) {
        std::uint32_t seen[2] = {};
        std::latch start(2);
        std::thread other([&] {
            start.arrive_and_wait();
            seen[0] = item.pixel(kWidth - 1, kHeight - 1);
        });
        start.arrive_and_wait();
        seen[1] = item.pixel(kWidth - 1, kHeight - 1);
        other.join();
        EXPECT_EQ(drawnCorner(item), 0xFFFFFF00u);
        EXPECT_EQ(seen[0], 0xFFFFFF00u);
        EXPECT_EQ(seen[1], 0xFFFFFF00u);
    };
    // A view about to show it and others makes their thumbnails over the
    // cores; a broken one is decoded for real and says so.
    const std::function<void(const CBitmapItem&)> withOthers = [&](const CBitmapItem& item) {
        std::vector<std::unique_ptr<CBitmapItem>> others;
        std::vector<CPictureThumbnails::Request> shown = {{&item, QSize(4, 4)}, {nullptr, QSize(4, 4)}};
        for (int i = 0; i < 5; ++i) {
            others.push_back(std::make_unique<CBitmapItem>());
            ASSERT_EQ(others.back()->attachEncoded(png), 1);
            shown.push_back({others.back().get(), QSize(4, 4)});
        }
        CPictureThumbnails thumbnails;
        thumbnails.prepare(shown);
        for (const auto& request : shown)
            EXPECT_TRUE(!request.picture || thumbnails.holds(*request.picture, request.size) ||
                        !request.picture->awaitsDecoding());
        for (const auto& other : others)
            EXPECT_EQ(other->pixel(kWidth - 1, kHeight - 1), 0xFFFFFF00u);
        EXPECT_EQ(drawnCorner(item), item.kind() == CDisplayBuffer::Empty ? 0u : 0xFFFFFF00u);
    };
    struct Case {
        const char* name;
        QByteArray payload;
        const std::function<void(const CBitmapItem&)>& use;
        bool decoded;
        int kind;
        std::string error;
    };
    const Case cases[] = {
        {"never shown", png, nothing, false, CDisplayBuffer::GdiPlusImage, ""},
        {"drawn", png, draw, true, CDisplayBuffer::GdiPlusImage, ""},
        {"two threads", png, twoThreads, true, CDisplayBuffer::GdiPlusImage, ""},
        {"broken, found when drawn", broken, draw, true, CDisplayBuffer::Empty, CImageFiles::kUnreadableMessage},
        {"decoded with others", png, withOthers, true, CDisplayBuffer::GdiPlusImage, ""},
        {"broken, decoded with others", broken, withOthers, true, CDisplayBuffer::Empty, CImageFiles::kUnreadableMessage},
    };
    CSectionCoder plain;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray stored = record(c.payload, kWidth, kHeight);
        CBitmapItem item;
        ASSERT_EQ(load(item, stored, plain), 0);
        // What the grid shows needs no pixels.
        EXPECT_TRUE(item.awaitsDecoding());
        EXPECT_EQ(item.kind(), CDisplayBuffer::GdiPlusImage);
        EXPECT_EQ(item.width(), kWidth);
        EXPECT_EQ(item.actualHeight(), kHeight);
        EXPECT_EQ(item.usedGameMemory(), kWidth * kHeight * 4);
        EXPECT_EQ(store(item, plain), stored);
        EXPECT_TRUE(item.awaitsDecoding()) << "saving decodes nothing";

        c.use(item);
        EXPECT_EQ(item.awaitsDecoding(), !c.decoded);
        EXPECT_EQ(item.kind(), c.kind);
        EXPECT_EQ(item.recordKind(), CDisplayBuffer::GdiPlusImage);
        EXPECT_EQ(item.decodeError(), c.error);
        EXPECT_EQ(item.width(), kWidth);
        EXPECT_EQ(item.sourceBytes(), c.payload);
        EXPECT_EQ(store(item, plain), stored);
    }
}

// A document whose pictures are never shown is written back byte for byte
// without decoding any of them.
TEST(BitmapLazyDecode, UnshownDocumentResavesIdentically)
{
    TempFolder folder;
    auto holder = createDocumentHolder();
    for (int i = 0; i < 3; ++i) {
        auto* item = dynamic_cast<CBitmapItem*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "b")));
        ASSERT_EQ(item->attachImage(quarters(4 + i, 3)), 1);
    }
    FixedKeySource keys({0x1234, 0x0456, 0x7abc, 0x0def});
    holder->setKeySource(&keys);
    ASSERT_EQ(holder->save(folder.path("doc.mrc")), 1);

    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(folder.path("doc.mrc")), 1);
    FixedKeySource sameKeys({0x1234, 0x0456, 0x7abc, 0x0def});
    loaded->setKeySource(&sameKeys);
    ASSERT_EQ(loaded->save(folder.path("again.mrc")), 1);
    EXPECT_EQ(readAll(folder.path("again.mrc")), readAll(folder.path("doc.mrc")));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(dynamic_cast<CBitmapItem*>(loaded->get(GroupBitmaps, i))->awaitsDecoding()) << i;
}

// The grids show stored pictures through thumbnails that leave them
// undecoded: the thumbnails stay within their budget, look as the decoded
// picture scaled would, follow edits, and a broken picture still says so.
TEST(BitmapLazyDecode, ThumbnailsLeavePicturesUndecodedWithinTheirBudget)
{
    const QByteArray png = encode(quarters(kWidth, kHeight), "png");
    const QSize size(32, 24);
    CBitmapItem twin;
    ASSERT_EQ(twin.attachEncoded(png), 1);
    const QImage expected = twin.imageView().scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const std::size_t one = std::size_t(expected.sizeInBytes());
    CPictureThumbnails thumbnails(3 * one);

    std::vector<std::unique_ptr<CBitmapItem>> pictures;
    std::vector<CPictureThumbnails::Request> requests;
    for (int i = 0; i < 5; ++i) {
        pictures.push_back(std::make_unique<CBitmapItem>());
        ASSERT_EQ(pictures.back()->attachEncoded(png), 1);
        requests.push_back({pictures.back().get(), size});
    }
    requests.push_back(requests.front());
    thumbnails.prepare(requests);
    EXPECT_EQ(thumbnails.decodedCount(), 5u) << "each picture once";
    EXPECT_EQ(thumbnails.heldBytes(), 3 * one);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(thumbnails.holds(*pictures[i], size), i >= 2) << i;
        EXPECT_TRUE(pictures[i]->awaitsDecoding()) << i;
    }
    EXPECT_EQ(thumbnails.thumbnail(*pictures[4], size), expected);
    EXPECT_EQ(thumbnails.decodedCount(), 5u) << "a kept thumbnail is not made again";
    EXPECT_EQ(thumbnails.thumbnail(*pictures[0], size), expected);
    EXPECT_EQ(thumbnails.decodedCount(), 6u);
    EXPECT_TRUE(pictures[0]->awaitsDecoding());
    EXPECT_LE(thumbnails.heldBytes(), 3 * one);

    ASSERT_EQ(pictures[4]->fill(0x0000FF), 1);
    EXPECT_EQ(thumbnails.thumbnail(*pictures[4], size).pixel(0, 0), 0xFFFF0000u) << "an edit shows at once";

    CBitmapItem broken;
    ASSERT_EQ(broken.attachEncoded(png.left(png.size() - 20)), 1);
    EXPECT_TRUE(thumbnails.thumbnail(broken, size).isNull());
    EXPECT_EQ(broken.kind(), CDisplayBuffer::Empty);
    EXPECT_EQ(broken.decodeError(), CImageFiles::kUnreadableMessage);
}
