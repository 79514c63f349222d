#include "kinds/bitmaps/BitmapTestSupport.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/bitmaps/CColorChange.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace bitmaptest;

namespace {
// A transparent picture with an opaque block: columns 3..6, rows 2..5.
QImage transparentWithBlock(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 2; y <= 5; ++y)
        for (int x = 3; x <= 6; ++x)
            image.setPixel(x, y, qRgba(10 * x, 20 * y, 99, 255));
    return image;
}

QRgb changed(const CColorChange& change, QRgb pixel) { return change.apply(pixel); }

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
} // namespace

TEST(BitmapCrop, CutsTransparentBorderAndMovesOffsets)
{
    CBitmapItem item;
    ASSERT_EQ(item.attachImage(transparentWithBlock(10, 8)), 1);
    item.setSourceFilename("sprite.png");
    item.setOffsetX(1.5);
    item.setOffsetY(-1);
    ASSERT_EQ(item.cropToAlphaChannel(true), 1);
    EXPECT_EQ(item.width(), 4.0);
    EXPECT_EQ(item.height(), 4.0);
    EXPECT_EQ(item.offsetX(), 4.5) << "3 columns cut on the left";
    EXPECT_EQ(item.offsetY(), 1.0) << "2 rows cut on top";
    EXPECT_EQ(item.pixel(0, 0), qRgba(30, 40, 99, 255));
    EXPECT_EQ(item.pixel(3, 3), qRgba(60, 100, 99, 255));
    EXPECT_EQ(item.sourceFilename(), "sprite.png");

    // Without the adjustment the offsets stay; a lone faint pixel counts.
    QImage faint(5, 5, QImage::Format_ARGB32);
    faint.fill(Qt::transparent);
    faint.setPixel(4, 1, qRgba(0, 0, 0, 1));
    CBitmapItem other;
    other.attachImage(faint);
    ASSERT_EQ(other.cropToAlphaChannel(false), 1);
    EXPECT_EQ(other.width(), 1.0);
    EXPECT_EQ(other.height(), 1.0);
    EXPECT_EQ(other.offsetX(), 0.0);
}

TEST(BitmapCrop, NothingToCutAndNothingVisible)
{
    CBitmapItem opaque;
    opaque.attachImage(quarters(6, 4));
    opaque.setOffsetX(2);
    EXPECT_EQ(opaque.cropToAlphaChannel(true), 1);
    EXPECT_EQ(opaque.width(), 6.0);
    EXPECT_EQ(opaque.offsetX(), 2.0);

    QImage clear(7, 3, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    CBitmapItem empty;
    empty.attachImage(clear);
    EXPECT_EQ(empty.cropToAlphaChannel(true), 0);
    EXPECT_EQ(empty.width(), 7.0);
    EXPECT_EQ(empty.kind(), CDisplayBuffer::GdiPlusImage);

    CBitmapItem none;
    EXPECT_EQ(none.cropToAlphaChannel(true), 0);
    EXPECT_EQ(none.setAlphaChannelToColor(0), 0);
    EXPECT_EQ(none.changeColor(kRed, 255, kBlue, 255, 80, 128, 128), 0);
}

TEST(BitmapAlpha, MatchingColourBecomesTransparent)
{
    QImage image = quarters(4, 4);
    image.setPixel(0, 0, qRgb(255, 0, 1));  // one step off red stays
    CBitmapItem item;
    item.attachImage(image);
    ASSERT_EQ(item.setAlphaChannelToColor(kRed), 1);
    EXPECT_EQ(qAlpha(item.pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(item.pixel(0, 0)), 255);
    EXPECT_EQ(item.pixel(3, 3), qRgb(255, 255, 0));
}

TEST(BitmapChangeColor, ReplacesBlendsAndLeavesAlone)
{
    const CColorChange red(kRed, 255, kBlue, 255, 80, 128, 128);
    EXPECT_EQ(changed(red, qRgba(255, 0, 0, 255)), qRgba(0, 0, 255, 255)) << "distance 0: replaced";
    EXPECT_EQ(changed(red, qRgba(255, 30, 30, 200)), qRgba(0, 0, 255, 255)) << "below half the tolerance: replaced";
    // Distance 60: k = (60 - 40) * 2 = 40, half of the pixel's own value.
    EXPECT_EQ(changed(red, qRgba(255, 60, 60, 255)), qRgba(127, 30, 157, 255));
    EXPECT_EQ(changed(red, qRgba(255, 80, 80, 255)), qRgba(255, 80, 80, 255)) << "at the tolerance nothing is left of the target";
    EXPECT_EQ(changed(red, qRgba(255, 81, 81, 255)), qRgba(255, 81, 81, 255)) << "beyond the tolerance";
    EXPECT_EQ(changed(red, qRgba(100, 150, 0, 255)), qRgba(100, 150, 0, 255)) << "green above red breaks the order";
    // Same hue, but its darkest channel too far from the source's.
    const CColorChange strict(kRed, 255, kBlue, 255, 80, 20, 128);
    EXPECT_EQ(changed(strict, qRgba(255, 30, 30, 255)), qRgba(255, 30, 30, 255));
}

TEST(BitmapChangeColor, GreySourceMatchesLowSaturation)
{
    // Grey source: no channel order to keep, hue (0, 0, 0).
    const CColorChange grey(0x646464, 255, 0x000000, 255, 80, 128, 128);
    EXPECT_EQ(changed(grey, qRgba(0, 0, 0, 255)), qRgba(0, 0, 0, 255));
    EXPECT_EQ(changed(grey, qRgba(200, 200, 200, 128)), qRgba(0, 0, 0, 255));
    EXPECT_EQ(changed(grey, qRgba(240, 240, 240, 255)), qRgba(240, 240, 240, 255)) << "140 above the source's minimum";
    EXPECT_EQ(changed(grey, qRgba(170, 130, 130, 255)), qRgba(85, 65, 65, 255)) << "distance 60: blended half way";
    EXPECT_EQ(changed(grey, qRgba(255, 195, 195, 255)), qRgba(255, 195, 195, 255)) << "maximum 155 away";
}

// Tolerances the command never passes must still give bytes, not wrapped
// or undefined values.
TEST(BitmapChangeColor, OddAndZeroTolerancesStayInRange)
{
    const CColorChange odd(kRed, 255, 0x000000, 0, 81, 128, 128);
    EXPECT_EQ(changed(odd, qRgba(255, 81, 81, 255)), qRgba(255, 81, 81, 255));
    const CColorChange exact(kRed, 255, kBlue, 128, 0, 0, 0);
    EXPECT_EQ(changed(exact, qRgba(255, 0, 0, 255)), qRgba(0, 0, 255, 128));
    EXPECT_EQ(changed(exact, qRgba(254, 0, 0, 255)), qRgba(254, 0, 0, 255));
}

TEST(BitmapChangeColor, AppliedToEveryPixelOfTheBitmap)
{
    CBitmapItem item;
    item.attachImage(quarters(4, 4));
    ASSERT_EQ(item.changeColor(kRed, 255, kBlue, 255, CColorChange::kCommandHueTolerance, CColorChange::kCommandMinTolerance,
                               CColorChange::kCommandMaxTolerance), 1);
    EXPECT_EQ(item.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(item.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(item.pixel(0, 3), qRgb(0, 255, 0));
    EXPECT_EQ(item.pixel(3, 3), qRgb(255, 255, 0));
}
