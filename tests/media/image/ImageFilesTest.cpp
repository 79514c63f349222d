#include "media/image/CBmpWriter.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/CImageFiles.h"
#include "media/image/CRegionData.h"

#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QtEndian>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
QImage testPicture()
{
    QImage image(7, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.setPixel(x, y, qRgba(x * 30, y * 50, 90, 255));
    return image;
}

std::uint32_t le32(const QByteArray& b, int at) { return qFromLittleEndian<std::uint32_t>(b.constData() + at); }
std::uint16_t le16(const QByteArray& b, int at) { return qFromLittleEndian<std::uint16_t>(b.constData() + at); }

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

TEST(ImageFiles, DecodesEveryCommonFormat)
{
    TempFolder folder;
    const QImage picture = testPicture();
    for (const char* format : {"png", "jpg", "bmp", "tiff", "ico", "webp"}) {
        const std::string path = folder.path(std::string("picture.") + format);
        ASSERT_TRUE(picture.save(QString::fromStdString(path), format)) << format;
        CDisplayBuffer b;
        std::string error;
        ASSERT_EQ(b.loadFromFile(9, path, &error), 1) << format << " " << error;
        EXPECT_EQ(b.kind(), 9);
        EXPECT_EQ(b.storedWidth(), 7.0);
        EXPECT_EQ(b.storedHeight(), 5.0);
        EXPECT_EQ(b.sourceBytes(), readAll(path)) << format;
        EXPECT_EQ(b.sourceFilename(), path);
        if (std::string(format) == "png" || std::string(format) == "bmp" || std::string(format) == "tiff") {
            EXPECT_EQ(b.pixel(6, 4), qRgba(180, 200, 90, 255)) << format;
        }
    }
}

TEST(ImageFiles, DecodesGif)
{
    // Qt reads GIF but cannot write it: a 1 x 1 picture made by hand, one
    // red pixel through a two-colour table.
    const QByteArray gif = QByteArray::fromHex("474946383961 0100 0100 80 00 00 ff0000 000000"
                                               "2c 0000 0000 0100 0100 00 02 02 4401 00 3b");
    TempFolder folder;
    const std::string path = folder.path("dot.gif");
    writeAll(path, gif);
    CDisplayBuffer b;
    ASSERT_EQ(b.loadFromFile(9, path), 1);
    EXPECT_EQ(b.storedWidth(), 1.0);
    EXPECT_EQ(b.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(ImageFiles, MetafilesAndGarbageFailCleanly)
{
    TempFolder folder;
    QByteArray wmf(64, '\0');
    qToLittleEndian<quint32>(0x9AC6CDD7u, wmf.data());
    QByteArray emf(88, '\0');
    qToLittleEndian<quint32>(1, emf.data());
    emf.replace(40, 4, " EMF");
    for (const QByteArray& bytes : {wmf, emf}) {
        const std::string path = folder.path("picture.wmf");
        writeAll(path, bytes);
        CDisplayBuffer b;
        b.setOffsetX(3.0);
        std::string error;
        EXPECT_EQ(b.loadFromFile(9, path, &error), 0);
        EXPECT_EQ(error, CImageFiles::kMetafileMessage);
        EXPECT_EQ(b.kind(), 0);
        EXPECT_EQ(b.sourceBytes(), bytes); // kept for a later attempt
    }
    const std::string junk = folder.path("junk.png");
    writeAll(junk, "\x89PNG\r\n\x1a\n and then nothing sensible");
    CDisplayBuffer b;
    std::string error;
    EXPECT_EQ(b.loadFromFile(9, junk, &error), 0);
    EXPECT_EQ(error, CImageFiles::kUnreadableMessage);
    EXPECT_EQ(b.loadFromFile(9, folder.path("missing.png")), 0);
    EXPECT_EQ(b.loadFromFile(2, junk), 0);
}

TEST(ImageFiles, HostileSourcesAreRefusedBeforeAnyDecoderAllocates)
{
    TempFolder folder;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(testPicture().save(&buffer, "png"));
    }
    // A text chunk after the pixels that claims 1.2 GB, in a file of 300 bytes.
    QByteArray claim = png;
    QByteArray chunk(8, '\0');
    qToBigEndian<quint32>(0x48000000u, chunk.data());
    chunk.replace(4, 4, "tEXt");
    claim.insert(png.size() - 12, chunk + "Comment\0short");
    QByteArray overLimit = png;  // a length no chunk may have
    qToBigEndian<quint32>(0x80000000u, overLimit.data() + png.size() - 12);
    writeAll(folder.path("claim.png"), claim);
    const std::string fifo = folder.path("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    QImage image;
    EXPECT_EQ(CImageFiles::decodeImageBytes(png, image), 1) << "the honest picture decodes";
    for (const QByteArray& bytes : {claim, overLimit}) {
        std::string error;
        EXPECT_EQ(CImageFiles::decodeImageBytes(bytes, image, &error), 0);
        EXPECT_EQ(error, CImageFiles::kUnreadableMessage);
        EXPECT_TRUE(image.isNull());
    }
    // Only regular files are read: a device never ends, a FIFO waits.
    for (const std::string& path : {folder.path("claim.png"), std::string("/dev/zero"), fifo}) {
        CDisplayBuffer b;
        std::string error;
        EXPECT_EQ(b.loadFromFile(CDisplayBuffer::GdiPlusImage, path, &error), 0) << path;
        EXPECT_EQ(error, CImageFiles::kUnreadableMessage) << path;
        EXPECT_EQ(CImageFiles::decodeImageFile(path, image), 0) << path;
        EXPECT_EQ(b.loadFromFile(CDisplayBuffer::DibBitmap16, path), 0) << path;
    }
}

TEST(ImageFiles, BmpLoadsIntoSixteenAndThirtyTwoBitBuffers)
{
    TempFolder folder;
    const std::string path = folder.path("p.bmp");
    ASSERT_TRUE(testPicture().save(QString::fromStdString(path), "bmp"));
    CDisplayBuffer b;
    ASSERT_EQ(b.loadFromFile(3, path), 1);
    EXPECT_EQ(b.kind(), 3);
    EXPECT_EQ(b.pixel(6, 4), 0x5AC8B0u & 0xF8F8F8u); // 180, 200, 90 keeping 5 bits each
    ASSERT_EQ(b.loadFromFile(4, path), 1);
    EXPECT_EQ(b.kind(), 4);
    EXPECT_EQ(b.actualWidth(), 7);
    EXPECT_EQ(b.pixel(6, 4), 0x5AC8B4u);
}

TEST(ImageFiles, PngByMimeTypeAndTemporaryRoundTrip)
{
    TempFolder folder;
    qputenv("TEMP", QByteArray::fromStdString(folder.path("")));
    CDisplayBuffer b;
    ASSERT_EQ(b.attachImage(testPicture()), 1);
    const std::string png = folder.path("out.png");
    EXPECT_EQ(b.saveToFile(png, "image/x-unknown"), 0);
    EXPECT_EQ(b.saveToFile(png, "IMAGE/PNG"), 0); // exact comparison
    ASSERT_EQ(b.saveToFile(png, "image/png"), 1);
    EXPECT_TRUE(run("pngcheck", {QString::fromStdString(png)}).startsWith("OK:"));

    const std::string temp = CImageFiles::makeTemporaryFileName("png");
    const QFileInfo info(QString::fromStdString(temp));
    EXPECT_TRUE(info.exists());
    EXPECT_TRUE(info.fileName().startsWith("GAMEMARVOLINE"));
    EXPECT_EQ(info.suffix(), "png");
    EXPECT_EQ(info.absolutePath(), QFileInfo(QString::fromStdString(folder.path(""))).absoluteFilePath());
    const std::string second = CImageFiles::makeTemporaryFileName("png");
    EXPECT_NE(second, temp);
    QFile::remove(QString::fromStdString(temp));
    QFile::remove(QString::fromStdString(second));

    b.setSourceBytes("original jpeg bytes");
    ASSERT_EQ(b.saveAndReloadThroughPng(), 1);
    EXPECT_EQ(b.kind(), 9);
    EXPECT_TRUE(b.sourceBytes().startsWith("\x89PNG"));
    EXPECT_EQ(b.pixel(6, 4), qRgba(180, 200, 90, 255));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(b.sourceFilename())));
    EXPECT_TRUE(QDir(QString::fromStdString(folder.path(""))).entryList({"GAMEMARVOLINE*"}).isEmpty());
    qunsetenv("TEMP");

    CDisplayBuffer notAnImage;
    ASSERT_EQ(notAnImage.create(4, 2, 2), 1);
    EXPECT_EQ(notAnImage.saveAndReloadThroughPng(), 0);
    EXPECT_EQ(notAnImage.saveToFile(png, "image/png"), 0);
}

TEST(BmpWriter, ColourFileLayout)
{
    TempFolder folder;
    CDisplayBuffer b;
    ASSERT_EQ(b.create(4, 3, 2), 1);
    b.fill(0x00102030);
    b.setPixel(0, 0, 0x000000FF); // top-left red
    const std::string path = folder.path("colour.bmp");
    ASSERT_EQ(b.saveColorAsBmp24(path), 1);
    const QByteArray f = readAll(path);
    ASSERT_EQ(f.size(), 54 + 4 * 3 * 2);
    EXPECT_EQ(f.left(2), "BM");
    EXPECT_EQ(le32(f, 2), 54u + 24u);
    EXPECT_EQ(le32(f, 6), 0u);
    EXPECT_EQ(le32(f, 10), 54u);
    EXPECT_EQ(le32(f, 14), 40u);
    EXPECT_EQ(le32(f, 18), 3u);
    EXPECT_EQ(le32(f, 22), 2u);
    EXPECT_EQ(le16(f, 26), 1);
    EXPECT_EQ(le16(f, 28), 24);
    EXPECT_EQ(le32(f, 30), 0u);
    EXPECT_EQ(le32(f, 34), 24u);
    // Bottom row first; 9 bytes padded to 12.
    EXPECT_EQ(f.mid(54, 12), QByteArray::fromHex("102030102030102030000000"));
    EXPECT_EQ(f.mid(66, 12), QByteArray::fromHex("0000ff102030102030000000"));
    const QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(2, 1), qRgb(0x30, 0x20, 0x10));
    EXPECT_TRUE(run("file", {QString::fromStdString(path)}).contains("3 x 2 x 24"));

    CDisplayBuffer other;
    ASSERT_EQ(other.create(3, 2, 2), 1);
    EXPECT_EQ(other.saveColorAsBmp24(path), 0);
}

TEST(BmpWriter, AlphaFileLayout)
{
    TempFolder folder;
    QImage decoded(5, 2, QImage::Format_ARGB32);
    decoded.fill(qRgba(255, 255, 255, 200));
    decoded.setPixel(0, 0, qRgba(0, 0, 0, 10));
    CDisplayBuffer b;
    ASSERT_EQ(b.attachImage(decoded), 1);
    ASSERT_EQ(b.convertToKind(4), 1);
    const std::string path = folder.path("alpha.bmp");
    ASSERT_EQ(b.saveAlphaAsBmp8(path), 1);
    const QByteArray f = readAll(path);
    ASSERT_EQ(f.size(), 1078 + 8 * 2);
    EXPECT_EQ(le32(f, 2), 1078u + 16u);
    EXPECT_EQ(le32(f, 10), 1078u);
    EXPECT_EQ(le16(f, 28), 8);
    EXPECT_EQ(le32(f, 34), 10u);
    EXPECT_EQ(le32(f, 54 + 4 * 77), 0x004D4D4Du);
    EXPECT_EQ(f.mid(1078, 8), QByteArray::fromHex("c8c8c8c8c8000000"));
    EXPECT_EQ(f.mid(1086, 8), QByteArray::fromHex("0ac8c8c8c8000000"));
    const QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(qGray(back.pixel(0, 0)), 10);
    EXPECT_TRUE(run("file", {QString::fromStdString(path)}).contains("5 x 2 x 8"));
}

TEST(RegionData, Win32RectangleListLayout)
{
    QRegion region(QRect(1, 2, 3, 4));
    region += QRect(10, 2, 2, 4);
    const QByteArray bytes = CRegionData::toBytes(region);
    ASSERT_EQ(bytes.size(), 32 + 2 * 16);
    EXPECT_EQ(bytes.left(32), QByteArray::fromHex("20000000 01000000 02000000 20000000"
                                                  "01000000 02000000 0c000000 06000000"));
    EXPECT_EQ(bytes.mid(32), QByteArray::fromHex("01000000 02000000 04000000 06000000"
                                                 "0a000000 02000000 0c000000 06000000"));
    QRegion back;
    ASSERT_TRUE(CRegionData::fromBytes(bytes, back));
    EXPECT_EQ(back, region);

    CDisplayBuffer b;
    ASSERT_EQ(b.setRegionData(bytes), 1);
    EXPECT_EQ(b.kind(), 6);
    EXPECT_EQ(b.bits(), 1);
    EXPECT_EQ(b.usedGameMemory(), 64);
    EXPECT_EQ(b.actualWidth(), 11);
    EXPECT_EQ(b.actualHeight(), 4);
    EXPECT_TRUE(b.pointInRegion(10, 5));
    EXPECT_FALSE(b.pointInRegion(5, 3));
    EXPECT_EQ(b.regionData(), bytes);
    EXPECT_EQ(CRegionData::toBytes(QRegion()).size(), 32);
}

TEST(RegionData, DamagedBytesAreRefusedOrTolerated)
{
    QRegion region;
    EXPECT_FALSE(CRegionData::fromBytes(QByteArray(31, '\0'), region));
    QByteArray bytes = CRegionData::toBytes(QRegion(0, 0, 2, 2));
    QByteArray hugeCount = bytes;
    qToLittleEndian<std::int32_t>(0x7FFFFFFF, hugeCount.data() + 8);
    EXPECT_FALSE(CRegionData::fromBytes(hugeCount, region));
    QByteArray negative = bytes;
    qToLittleEndian<std::int32_t>(-1, negative.data() + 8);
    EXPECT_FALSE(CRegionData::fromBytes(negative, region));
    QByteArray wrongType = bytes;
    wrongType[4] = 2;
    EXPECT_FALSE(CRegionData::fromBytes(wrongType, region));
    CDisplayBuffer b;
    EXPECT_EQ(b.setRegionData(wrongType), 0);
    EXPECT_EQ(b.kind(), 0);

    // Overlapping, unsorted and empty rectangles still make the right union.
    QByteArray messy = QByteArray::fromHex("20000000 01000000 03000000 00000000 00000000 00000000 00000000 00000000"
                                           "05000000 05000000 08000000 08000000"
                                           "00000000 00000000 06000000 06000000"
                                           "03000000 03000000 03000000 09000000");
    ASSERT_TRUE(CRegionData::fromBytes(messy, region));
    EXPECT_EQ(region, QRegion(0, 0, 6, 6) + QRegion(5, 5, 3, 3));
    EXPECT_TRUE(CRegionData::sizeFits(region));

    // Each rectangle is valid; together they are wider (or taller) than an
    // int, which no size can state: the display buffer refuses them.
    for (const bool across : {true, false}) {
        const int far = 2000000000;
        QRegion wide(QRect(-far, -far, 10, 10));
        wide += across ? QRect(far, -far, 10, 10) : QRect(-far, far, 10, 10);
        EXPECT_FALSE(CRegionData::sizeFits(wide));
        ASSERT_TRUE(CRegionData::fromBytes(CRegionData::toBytes(wide), region));
        EXPECT_EQ(b.setRegionData(CRegionData::toBytes(wide)), 0);
        EXPECT_EQ(b.setRegion(wide), 0);
        EXPECT_EQ(b.kind(), 0);
    }
}

TEST(RegionDraw, ShadesTheRegionHalfTransparently)
{
    CDisplayBuffer b;
    ASSERT_EQ(b.setRegion(QRegion(1, 1, 2, 2)), 1);
    b.setOffsetX(1.0);
    CDisplayBuffer::setRegionFillColor(qRgb(255, 0, 0));
    QImage canvas(5, 5, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    EXPECT_EQ(b.draw(painter, 0, 0), 1);
    painter.end();
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_NEAR(qRed(canvas.pixel(2, 1)), 128, 1);
    EXPECT_NEAR(qRed(canvas.pixel(3, 2)), 128, 1);
    ASSERT_EQ(b.convertToKind(4), 1);
    EXPECT_EQ(b.actualWidth(), 2);
}
