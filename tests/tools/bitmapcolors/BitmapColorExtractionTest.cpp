#include "support/TestSupport.h"

#include "tools/bitmapcolors/CBitmapColorExtraction.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {
std::string writeSource(const TempFolder& folder, const std::string& name, const char* format)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(100, 40, 20));
    image.setPixel(1, 0, qRgb(0, 0, 0));
    image.setPixel(2, 0, qRgb(255, 255, 255));
    image.setPixel(0, 1, qRgb(0, 0, 1));
    image.setPixel(1, 1, qRgb(3, 2, 1));
    image.setPixel(2, 1, qRgb(128, 64, 200));
    const std::string path = folder.path(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), format));
    return path;
}

QImage load(const std::string& path)
{
    QImage image(QString::fromStdString(path));
    return image.convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST(BitmapColorExtraction, PixelRules)
{
    // (r, g, b) = (100, 40, 20): k = 2.55 gives (255, 102, 51); grey 53.
    EXPECT_EQ(CBitmapColorExtraction::diffusePixel(0x00642814), 0x00FF6633u);
    EXPECT_EQ(CBitmapColorExtraction::bumpPixel(0x00642814), 0x00353535u);
    EXPECT_EQ(CBitmapColorExtraction::diffusePixel(0xFF000000), 0u); // black stays black
    EXPECT_EQ(CBitmapColorExtraction::diffusePixel(0x00000001), 0x000000FFu);
    EXPECT_EQ(CBitmapColorExtraction::diffusePixel(0x00030201), 0x00FFAA55u);
    EXPECT_EQ(CBitmapColorExtraction::bumpPixel(0x00FFFFFF), 0x00FFFFFFu);
    EXPECT_EQ(CBitmapColorExtraction::bumpPixel(0x00000001), 0u);
    EXPECT_EQ(CBitmapColorExtraction::bumpPixel(0x00000002), 0x00010101u);
}

TEST(BitmapColorExtraction, OutputNames)
{
    EXPECT_EQ(CBitmapColorExtraction::suffixedPath("/art/wall.bmp", "_DIFFUSE"), "/art/wall_DIFFUSE.bmp");
    EXPECT_EQ(CBitmapColorExtraction::suffixedPath("/art/wall.v2.bmp", "_BUMP"), "/art/wall.v2_BUMP.bmp");
    EXPECT_EQ(CBitmapColorExtraction::suffixedPath("/art.d/wall", "_BUMP"), "/art.d/wall_BUMP");
    EXPECT_EQ(CBitmapColorExtraction::suffixedPath("C:\\My Documents\\wall.bmp", "_BUMP"),
              "C:\\My Documents\\wall_BUMP.bmp");
}

TEST(BitmapColorExtraction, MapsAreWrittenBesideTheSource)
{
    TempFolder folder;
    const std::string source = writeSource(folder, "wall.bmp", "BMP");
    CBitmapColorExtraction tool;
    ASSERT_TRUE(tool.extractDiffuse(source));
    EXPECT_EQ(tool.lastOutput(), folder.path("wall_DIFFUSE.bmp"));
    const QByteArray first = readAll(folder.path("wall_DIFFUSE.bmp"));
    ASSERT_GE(first.size(), 54);
    EXPECT_EQ(first.mid(0, 2), QByteArray("BM"));
    EXPECT_EQ(static_cast<int>(first[28]), 24); // bits per pixel
    const QImage diffuse = load(folder.path("wall_DIFFUSE.bmp"));
    ASSERT_EQ(diffuse.size(), QSize(3, 2));
    EXPECT_EQ(diffuse.pixel(0, 0), qRgb(255, 102, 51));
    EXPECT_EQ(diffuse.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(diffuse.pixel(2, 1), qRgb(163, 82, 255));
    // The picture keeps the converted image.
    EXPECT_EQ(tool.picture().pixel(0, 0), 0x003366FFu); // 0x00BBGGRR at this interface

    ASSERT_TRUE(tool.extractBump(source));
    const QImage bump = load(folder.path("wall_BUMP.bmp"));
    EXPECT_EQ(bump.pixel(0, 0), qRgb(53, 53, 53));
    EXPECT_EQ(bump.pixel(2, 1), qRgb(131, 131, 131));

    // The source is read afresh each time: a second press writes the same bytes.
    ASSERT_TRUE(tool.extractDiffuse(source));
    EXPECT_EQ(readAll(folder.path("wall_DIFFUSE.bmp")), first);
}

TEST(BitmapColorExtraction, UnreadableSourceWritesNothingAndOtherFormatsKeepTheirs)
{
    TempFolder folder;
    CBitmapColorExtraction tool;
    writeAll(folder.path("broken.bmp"), QByteArray("BMnot really"));
    EXPECT_FALSE(tool.extractDiffuse(folder.path("broken.bmp")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.path("broken_DIFFUSE.bmp"))));
    EXPECT_FALSE(tool.extractBump(folder.path("missing.bmp")));
    EXPECT_TRUE(tool.lastOutput().empty());

    const std::string png = writeSource(folder, "tile.png", "PNG");
    ASSERT_TRUE(tool.extractBump(png));
    const QByteArray bytes = readAll(folder.path("tile_BUMP.png"));
    EXPECT_EQ(bytes.mid(1, 3), QByteArray("PNG"));
    EXPECT_EQ(load(folder.path("tile_BUMP.png")).pixel(0, 0), qRgb(53, 53, 53));
}
