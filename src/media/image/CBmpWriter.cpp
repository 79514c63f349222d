#include "media/image/CBmpWriter.h"

#include <QFile>
#include <QString>
#include <QtEndian>

#include <cstdint>
#include <limits>

namespace {
constexpr int kHeadersSize = 54;
constexpr int kGreyTableSize = 1024;

bool isFourBytesPerPixel(const QImage& image)
{
    return !image.isNull() && image.depth() == 32;
}

void put16(QByteArray& b, qsizetype at, std::uint16_t v) { qToLittleEndian<std::uint16_t>(v, b.data() + at); }
void put32(QByteArray& b, qsizetype at, std::uint32_t v) { qToLittleEndian<std::uint32_t>(v, b.data() + at); }

// The two headers; fields the format leaves free stay 0.
void putHeaders(QByteArray& b, std::uint32_t fileSize, std::uint32_t pixelOffset, const QImage& image, int bitCount,
                std::uint32_t imageSize)
{
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, fileSize);
    put32(b, 10, pixelOffset);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(image.width()));
    put32(b, 22, static_cast<std::uint32_t>(image.height()));
    put16(b, 26, 1);
    put16(b, 28, static_cast<std::uint16_t>(bitCount));
    put32(b, 34, imageSize);
}

std::int64_t paddedRow(std::int64_t bytes) { return (bytes + 3) & ~std::int64_t(3); }

bool fitsSizeField(std::int64_t value) { return value <= std::numeric_limits<std::uint32_t>::max(); }
} // namespace

QByteArray CBmpWriter::colorBmp24(const QImage& image)
{
    if (!isFourBytesPerPixel(image))
        return QByteArray();
    const std::int64_t w = image.width(), h = image.height();
    // The size field counts four bytes a pixel; the padded rows never need
    // more, and the rest of the file is zeros up to that length.
    const std::int64_t fileSize = kHeadersSize + 4 * w * h;
    const std::int64_t row = paddedRow(3 * w);
    if (!fitsSizeField(fileSize) || kHeadersSize + row * h > fileSize)
        return QByteArray();
    QByteArray b(qsizetype(fileSize), '\0');
    putHeaders(b, std::uint32_t(fileSize), kHeadersSize, image, 24, std::uint32_t(4 * w * h));
    for (std::int64_t y = 0; y < h; ++y) {
        const uchar* in = image.constScanLine(int(h - 1 - y));
        char* out = b.data() + kHeadersSize + y * row;
        for (std::int64_t x = 0; x < w; ++x) {
            out[3 * x] = char(in[4 * x]);
            out[3 * x + 1] = char(in[4 * x + 1]);
            out[3 * x + 2] = char(in[4 * x + 2]);
        }
    }
    return b;
}

QByteArray CBmpWriter::alphaBmp8(const QImage& image)
{
    if (!isFourBytesPerPixel(image))
        return QByteArray();
    const std::int64_t w = image.width(), h = image.height();
    const std::int64_t row = paddedRow(w);
    const std::int64_t pixelOffset = kHeadersSize + kGreyTableSize;
    const std::int64_t fileSize = pixelOffset + row * h;
    if (!fitsSizeField(fileSize))
        return QByteArray();
    QByteArray b(qsizetype(fileSize), '\0');
    putHeaders(b, std::uint32_t(fileSize), std::uint32_t(pixelOffset), image, 8, std::uint32_t(w * h));
    for (int i = 0; i < 256; ++i) {
        b[kHeadersSize + 4 * i] = char(i);
        b[kHeadersSize + 4 * i + 1] = char(i);
        b[kHeadersSize + 4 * i + 2] = char(i);
    }
    for (std::int64_t y = 0; y < h; ++y) {
        const uchar* in = image.constScanLine(int(h - 1 - y));
        char* out = b.data() + pixelOffset + y * row;
        for (std::int64_t x = 0; x < w; ++x)
            out[x] = char(in[4 * x + 3]);
    }
    return b;
}

int CBmpWriter::writeFile(const std::string& filename, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return 0;
    QFile file(QString::fromStdString(filename));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    return file.write(bytes) == bytes.size() && file.flush() ? 1 : 0;
}
