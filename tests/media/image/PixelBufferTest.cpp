#include "media/image/CBlitClip.h"
#include "media/image/CPixelBuffer16.h"
#include "media/image/CPixelBuffer8.h"

#include <gtest/gtest.h>

namespace {
CPixelBuffer16 filled16(int w, int h, std::uint16_t value)
{
    CPixelBuffer16 b;
    b.create(w, h);
    b.fill(value);
    return b;
}

// Source whose pixel (x, y) holds 1 + x + 10 * y, so misplaced copies show.
CPixelBuffer16 numbered(int w, int h)
{
    CPixelBuffer16 b;
    b.create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, std::uint16_t(1 + x + 10 * y));
    return b;
}
} // namespace

TEST(BlitClip, CutsToBothBuffers)
{
    // Negative source start shortens without moving the destination.
    CBlitClip a{-2, 0, 5, 1, 0, 0};
    ASSERT_TRUE(a.clip(10, 10, 10, 10));
    EXPECT_EQ(a.sx, 0);
    EXPECT_EQ(a.w, 3);
    EXPECT_EQ(a.dx, 0);
    // Negative destination start moves the source start as well.
    CBlitClip b{1, 1, 4, 4, -2, -1};
    ASSERT_TRUE(b.clip(10, 10, 10, 10));
    EXPECT_EQ(b.sx, 3);
    EXPECT_EQ(b.sy, 2);
    EXPECT_EQ(b.w, 2);
    EXPECT_EQ(b.h, 3);
    EXPECT_EQ(b.dx, 0);
    // Cut to the source, then to the destination.
    CBlitClip c{6, 0, 100, 2, 7, 0};
    ASSERT_TRUE(c.clip(10, 10, 9, 10));
    EXPECT_EQ(c.w, 2);
    // Nothing left, or starts outside.
    CBlitClip d{0, 0, 3, 3, 9, 0};
    EXPECT_FALSE(d.clip(10, 10, 9, 10));
    CBlitClip e{10, 0, 3, 3, 0, 0};
    EXPECT_FALSE(e.clip(10, 10, 10, 10));
    CBlitClip f{0, 0, 3, 3, -5, 0};
    EXPECT_FALSE(f.clip(10, 10, 10, 10));
    CBlitClip g{-2147483647 - 1, 0, 2147483647, 1, 2147483647, 0};
    EXPECT_FALSE(g.clip(10, 10, 10, 10));
}

TEST(PixelBuffer16, CopiesKeepPlacesAndKeys)
{
    const CPixelBuffer16 src = numbered(3, 2);
    CPixelBuffer16 dst = filled16(4, 4, 0x1234);
    dst.copy(src, 1, 1, 2, 1, -1, 2);
    // Source start moved by one: only (2,1) lands, at (0,2).
    EXPECT_EQ(dst.pixel(0, 2), 1 + 2 + 10);
    EXPECT_EQ(dst.pixel(1, 2), 0x1234);

    CPixelBuffer16 keyed = filled16(3, 1, 7);
    keyed.setPixel(1, 0, 0);
    keyed.setPixel(2, 0, CPixelBuffer16::kSecondKey);
    CPixelBuffer16 d1 = filled16(3, 1, 9);
    d1.copyKeyed(keyed, 0, 0);
    EXPECT_EQ(d1.pixel(0, 0), 7);
    EXPECT_EQ(d1.pixel(1, 0), 9);
    EXPECT_EQ(d1.pixel(2, 0), CPixelBuffer16::kSecondKey);
    CPixelBuffer16 d2 = filled16(3, 1, 9);
    d2.copyKeyed2(keyed, 0, 0);
    EXPECT_EQ(d2.pixel(1, 0), 0);
    EXPECT_EQ(d2.pixel(2, 0), 9);

    CPixelBuffer16 d3 = filled16(3, 1, 9);
    d3.punch(keyed, 0, 0);
    EXPECT_EQ(d3.pixel(0, 0), 9);
    EXPECT_EQ(d3.pixel(1, 0), 0);
}

TEST(PixelBuffer16, PlaneBlendAndFade)
{
    const CPixelBuffer16 white = filled16(3, 1, 0x7FFF);
    CPixelBuffer8 plane;
    plane.create(3, 1);
    plane.setPixel(0, 0, 0);
    plane.setPixel(1, 0, 128);
    plane.setPixel(2, 0, 255);
    CPixelBuffer16 dst = filled16(3, 1, 0);
    dst.blendPlane(white, plane, 0, 0);
    EXPECT_EQ(dst.pixel(0, 0), 0);
    EXPECT_EQ(dst.pixel(1, 0), (15 << 10) | (15 << 5) | 15); // 31 * 128 / 255 = 15
    EXPECT_EQ(dst.pixel(2, 0), 0x7FFF);

    CPixelBuffer8 smallPlane;
    smallPlane.create(2, 1);
    CPixelBuffer16 untouched = filled16(3, 1, 5);
    untouched.blendPlane(white, smallPlane, 0, 0);
    EXPECT_EQ(untouched.pixel(0, 0), 5);

    CPixelBuffer16 faded = filled16(2, 1, 0x7FFF);
    faded.fade(128);
    EXPECT_EQ(faded.pixel(0, 0), (15 << 10) | (15 << 5) | 15); // 31 * 127 / 255
    faded.fade(1000);
    EXPECT_EQ(faded.pixel(1, 0), 0);
}

TEST(PixelBuffer8, KeyedCopyAndFill)
{
    CPixelBuffer8 src;
    src.create(2, 1);
    src.setPixel(0, 0, 0);
    src.setPixel(1, 0, 5);
    CPixelBuffer8 dst;
    dst.create(5, 1);
    dst.fill(3);
    dst.copyKeyed(src, 3, 0);
    EXPECT_EQ(dst.pixel(3, 0), 3);
    EXPECT_EQ(dst.pixel(4, 0), 5);
    dst.copy(src, 0, 0);
    EXPECT_EQ(dst.pixel(0, 0), 0);
    EXPECT_EQ(dst.stride(), 8);
    EXPECT_EQ(dst.create(0, 4), 0);
    EXPECT_EQ(dst.create(CPixelBuffer8::kMaxSide + 1, 1), 0);
}

TEST(PixelBuffer16, CopyWithinOneBufferReadsTheOriginalPixels)
{
    CPixelBuffer16 b = numbered(4, 1);
    b.copy(b, 0, 0, 3, 1, 1, 0);
    EXPECT_EQ(b.pixel(0, 0), 1);
    EXPECT_EQ(b.pixel(1, 0), 1);
    EXPECT_EQ(b.pixel(2, 0), 2);
    EXPECT_EQ(b.pixel(3, 0), 3);
}
