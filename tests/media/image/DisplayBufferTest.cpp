#include "media/image/CDisplayBuffer.h"
#include "media/image/CPixelBuffer16.h"
#include "media/image/CPixelBuffer8.h"
#include "media/image/CPixelFormat.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(DisplayBufferKinds, NamesInKindOrder)
{
    EXPECT_EQ(CDisplayBuffer::numberOfKinds(), 38);
    EXPECT_STREQ(CDisplayBuffer::kindName(0), "Empty");
    EXPECT_STREQ(CDisplayBuffer::kindName(6), "MFC CRgn - Painting Region");
    EXPECT_STREQ(CDisplayBuffer::kindName(9), "GDI+ Image");
    EXPECT_STREQ(CDisplayBuffer::kindName(14), "IDirectDrawSurface7 - DirectX");
    EXPECT_STREQ(CDisplayBuffer::kindName(20), "DirectX (Reserved)");
    EXPECT_STREQ(CDisplayBuffer::kindName(24), "OpenGL Display Buffer");
    EXPECT_STREQ(CDisplayBuffer::kindName(32), "Refer to Map");
    EXPECT_STREQ(CDisplayBuffer::kindName(37), "(Reserved)");
    EXPECT_STREQ(CDisplayBuffer::kindName(38), "");
    EXPECT_STREQ(CDisplayBuffer::kindName(-1), "");
}

TEST(DisplayBufferCreate, BackBufferKindsAreMadeAs32Bit)
{
    CDisplayBuffer b;
    ASSERT_EQ(b.create(22, 100, 50), 1);
    EXPECT_EQ(b.kind(), 4);
    EXPECT_EQ(b.actualWidth(), 100);
    EXPECT_EQ(b.actualHeight(), 50);
    EXPECT_EQ(b.usedGameMemory(), 100 * 50 * 4);
}

TEST(DisplayBufferCreate, SameKindAndSizeKeepsPixels)
{
    CDisplayBuffer b;
    ASSERT_EQ(b.create(4, 8, 8), 1);
    b.fill(0x00336699);
    ASSERT_EQ(b.create(21, 8, 8), 1);
    EXPECT_EQ(b.pixel(3, 3), 0x00336699u);
    ASSERT_EQ(b.create(4, 9, 8), 1); // another size starts over
    EXPECT_EQ(b.pixel(3, 3), 0u);
}

TEST(DisplayBufferCreate, UnbackedKindsAndMissingWindowFail)
{
    CDisplayBuffer b;
    for (int kind : {0, 5, 6, 7, 8, 14, 31, 32, 33, 37, 38, -1})
        EXPECT_EQ(b.create(kind, 4, 4), 0) << kind;
    EXPECT_EQ(b.create(9, 4, 4, nullptr), 0);
    EXPECT_EQ(b.kind(), 0);
    QImage window(1, 1, QImage::Format_RGB32);
    EXPECT_EQ(b.create(9, 4, 4, &window), 1);
    EXPECT_EQ(b.kind(), 9);
    // Sizes below 1 become 1; absurd ones are refused without allocating.
    EXPECT_EQ(b.create(3, 0, -5), 1);
    EXPECT_EQ(b.actualWidth(), 1);
    EXPECT_EQ(b.actualHeight(), 1);
    EXPECT_EQ(b.create(4, 1 << 30, 1 << 30), 0);
    EXPECT_EQ(b.kind(), 0);
}

TEST(DisplayBufferPixels, SixteenBitFormatAndRowLength)
{
    EXPECT_EQ(CPixelFormat::rgb16FromColor(0x0000FF), 0x7C00);
    EXPECT_EQ(CPixelFormat::colorFromRgb16(0x7C00), 0x0000F8u);
    EXPECT_EQ(CPixelFormat::rgb16FromColor(0xFF0000), 0x001F);
    EXPECT_EQ(CPixelFormat::rgb16FromColor(0x00FF00), 0x03E0);

    CDisplayBuffer b;
    ASSERT_EQ(b.create(3, 5, 2), 1);
    EXPECT_EQ(b.buffer16()->stride(), 8);
    ASSERT_EQ(b.setPixel(4, 1, 0x0000FF), 1);
    EXPECT_EQ(b.buffer16()->pixel(4, 1), 0x7C00);
    EXPECT_EQ(b.pixel(4, 1), 0x0000F8u);
    EXPECT_EQ(b.pixel(5, 1), CDisplayBuffer::kInvalidColor);
    EXPECT_EQ(b.setPixel(-1, 0, 0), 0);
}

TEST(DisplayBufferPixels, EightBitTableAndNearestColour)
{
    CDisplayBuffer b;
    ASSERT_EQ(b.create(2, 6, 3), 1);
    CPixelBuffer8& p = *b.buffer8();
    EXPECT_EQ(p.stride(), 8);
    EXPECT_EQ(p.colorAt(0), 0x000000u);
    EXPECT_EQ(p.colorAt(13), 0x0000FFu); // red
    EXPECT_EQ(p.colorAt(9), 0xF0CAA6u);  // sky blue
    EXPECT_EQ(p.colorAt(19), 0xFFFFFFu);
    EXPECT_EQ(p.colorAt(20), 0u);
    ASSERT_EQ(b.setPixel(1, 1, 0x0000F0), 1); // nearly red
    EXPECT_EQ(p.pixel(1, 1), 13);
    EXPECT_EQ(b.pixel(1, 1), 0x0000FFu);
    p.setGreyRamp();
    EXPECT_EQ(p.colorAt(0x40), 0x404040u);
    p.setColorAt(300, 1); // ignored
    EXPECT_EQ(p.colorAt(300), 0u);
}

TEST(DisplayBufferPixels, KindNineUsesStraightArgb)
{
    CDisplayBuffer b;
    QImage decoded(2, 2, QImage::Format_ARGB32);
    decoded.fill(qRgba(200, 100, 50, 128));
    ASSERT_EQ(b.attachImage(decoded), 1);
    EXPECT_EQ(b.kind(), 9);
    EXPECT_EQ(b.storedWidth(), 2.0);
    const QRgb read = b.pixel(0, 0);
    EXPECT_EQ(qAlpha(read), 128);
    EXPECT_NEAR(qRed(read), 200, 2);
    EXPECT_NEAR(qBlue(read), 50, 2);
    ASSERT_EQ(b.setPixel(1, 1, 0x80FF0000), 1);
    EXPECT_EQ(b.pixel(1, 1), 0x80FF0000u);
}

TEST(DisplayBufferDraw, OffsetsAreAddedAndTruncated)
{
    CDisplayBuffer b;
    ASSERT_EQ(b.create(4, 2, 2), 1);
    b.fill(0x0000FF);
    b.setOffsetX(1.9);
    b.setOffsetY(-0.5);
    QImage canvas(6, 6, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    EXPECT_EQ(b.draw(painter, 2, 3), 1);
    painter.end();
    // (2 + 1.9, 3 - 0.5) truncates to (3, 2).
    EXPECT_EQ(canvas.pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(4, 3), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(3, 4), qRgb(255, 255, 255));

    CDisplayBuffer empty;
    QPainter again(&canvas);
    EXPECT_EQ(empty.draw(again, 0, 0), 0);
    // Offsets from a damaged file still give a position.
    b.setOffsetX(std::nan(""));
    b.setOffsetY(1e300);
    EXPECT_EQ(b.draw(again, 0, 0), 1);
}

TEST(DisplayBufferDraw, StretchOnlyScalesKindNine)
{
    CDisplayBuffer b;
    QImage decoded(2, 2, QImage::Format_ARGB32);
    decoded.fill(qRgb(0, 255, 0));
    ASSERT_EQ(b.attachImage(decoded), 1);
    QImage canvas(8, 8, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    EXPECT_EQ(b.stretchDraw(painter, 0, 0, 8, 8), 1);
    painter.end();
    EXPECT_EQ(canvas.pixel(7, 7), qRgb(0, 255, 0));
}

TEST(DisplayBufferConvert, DrawsCurrentImageIntoNewStorage)
{
    CDisplayBuffer b;
    QImage decoded(3, 2, QImage::Format_ARGB32);
    decoded.fill(qRgba(255, 0, 0, 255));
    decoded.setPixel(0, 0, qRgba(0, 0, 0, 0));
    ASSERT_EQ(b.attachImage(decoded), 1);
    b.setOffsetX(5.0);
    b.setSourceFilename("a.png");

    ASSERT_EQ(b.convertToKind(4), 1);
    EXPECT_EQ(b.kind(), 4);
    EXPECT_EQ(b.actualWidth(), 3);
    EXPECT_EQ(b.pixel(2, 1), 0x0000FFu);
    EXPECT_EQ(qAlpha(b.image().pixel(0, 0)), 0); // alpha survives into the 32-bit buffer
    EXPECT_EQ(b.offsetX(), 5.0);
    EXPECT_EQ(b.storedWidth(), 3.0);
    EXPECT_EQ(b.sourceFilename(), "a.png");

    ASSERT_EQ(b.convertToKind(2), 1);
    EXPECT_EQ(b.kind(), 2);
    EXPECT_EQ(b.pixel(2, 1), 0x0000FFu);
    EXPECT_EQ(b.pixel(0, 0), 0x000000u);

    ASSERT_EQ(b.convertToKind(1), 1);
    EXPECT_EQ(b.pixel(1, 1), 0x0000FFu);
    EXPECT_EQ(b.convertToKind(3), 0);
    EXPECT_EQ(b.convertToKind(9), 0);
    EXPECT_EQ(b.kind(), 1);

    CDisplayBuffer empty;
    EXPECT_EQ(empty.convertToKind(4), 0);
}

TEST(DisplayBufferFill, AlphaFillBlendsAndPlainFillReplaces)
{
    CDisplayBuffer b;
    QImage window(1, 1, QImage::Format_RGB32);
    ASSERT_EQ(b.create(9, 2, 2, &window), 1);
    ASSERT_EQ(b.fillAlpha(0x0000FF, 0.5), 1);
    EXPECT_EQ(qAlpha(b.pixel(0, 0)), 127);
    ASSERT_EQ(b.fillAlpha(0x0000FF, 7.0), 1); // clamped to opaque
    EXPECT_EQ(b.pixel(1, 1), 0xFFFF0000u);

    CDisplayBuffer eight;
    ASSERT_EQ(eight.create(2, 3, 3), 1);
    ASSERT_EQ(eight.fillAlpha(0x00FFFF, 1.0), 1); // yellow is in the table
    EXPECT_EQ(eight.pixel(2, 2), 0x00FFFFu);
    ASSERT_EQ(eight.fill(0xFF0000), 1);
    EXPECT_EQ(eight.pixel(0, 0), 0xFF0000u);

    CDisplayBuffer empty;
    EXPECT_EQ(empty.fill(0), 0);
    EXPECT_EQ(empty.pixel(0, 0), CDisplayBuffer::kInvalidColor);
}

TEST(DisplayBufferFill, DrawIntoAnotherBuffer)
{
    CDisplayBuffer source, target;
    ASSERT_EQ(source.create(3, 2, 2), 1);
    source.fill(0x00FF00);
    ASSERT_EQ(target.create(4, 4, 4), 1);
    ASSERT_EQ(source.drawInto(target, 2, 2), 1);
    EXPECT_EQ(target.pixel(3, 3), 0x00F800u);
    EXPECT_EQ(target.pixel(1, 1), 0u);
    EXPECT_EQ(target.drawInto(target, 0, 0), 0);
}

TEST(DisplayBufferState, ResetKeepsSource)
{
    CDisplayBuffer b;
    b.setSourceBytes("xyz");
    b.setSourceFilename("f");
    ASSERT_EQ(b.create(4, 2, 2), 1);
    b.reset();
    EXPECT_EQ(b.kind(), 0);
    EXPECT_EQ(b.actualWidth(), 0);
    EXPECT_EQ(b.sourceBytes(), QByteArray("xyz"));
    b.dropSource();
    EXPECT_TRUE(b.sourceBytes().isEmpty());
    EXPECT_TRUE(b.sourceFilename().empty());
    EXPECT_TRUE(b.isDrawableByImageCopy() == false);
}
