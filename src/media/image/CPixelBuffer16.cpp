#include "media/image/CPixelBuffer16.h"

#include "core/CRegularFile.h"

#include "media/image/CPixelFormat.h"

#include <QImageReader>
#include <QString>

#include <algorithm>

namespace {
std::uint16_t mixChannel(std::uint16_t s, std::uint16_t d, int shift, int m)
{
    const int sc = (s >> shift) & 0x1F, dc = (d >> shift) & 0x1F;
    return static_cast<std::uint16_t>(((sc * m + dc * (255 - m)) / 255) << shift);
}
} // namespace

void CPixelBuffer16::copyKeyed2(const CPixelBuffer16& src, int sx, int sy, int w, int h, int dx, int dy)
{
    copyKeyed(src, sx, sy, w, h, dx, dy, kSecondKey);
}

void CPixelBuffer16::copyKeyed2(const CPixelBuffer16& src, int dx, int dy)
{
    copyKeyed(src, dx, dy, kSecondKey);
}

void CPixelBuffer16::punch(const CPixelBuffer16& src, int sx, int sy, int w, int h, int dx, int dy)
{
    blit(src, sx, sy, w, h, dx, dy, [](std::uint16_t& d, std::uint16_t s, int, int) {
        if (s == 0)
            d = 0;
    });
}

void CPixelBuffer16::punch(const CPixelBuffer16& src, int dx, int dy)
{
    punch(src, 0, 0, src.width(), src.height(), dx, dy);
}

void CPixelBuffer16::blendPlane(const CPixelBuffer16& src, const CPixelBuffer8& plane, int sx, int sy, int w, int h,
                                int dx, int dy)
{
    if (plane.width() < src.width() || plane.height() < src.height())
        return;
    blit(src, sx, sy, w, h, dx, dy, [&plane](std::uint16_t& d, std::uint16_t s, int x, int y) {
        const int m = plane.pixel(x, y);
        if (m == 0)
            return;
        if (m == 255) {
            d = s;
            return;
        }
        d = mixChannel(s, d, 10, m) | mixChannel(s, d, 5, m) | mixChannel(s, d, 0, m);
    });
}

void CPixelBuffer16::blendPlane(const CPixelBuffer16& src, const CPixelBuffer8& plane, int dx, int dy)
{
    blendPlane(src, plane, 0, 0, src.width(), src.height(), dx, dy);
}

void CPixelBuffer16::fade(int amount)
{
    const int keep = 255 - std::clamp(amount, 0, 255);
    for (int y = 0; y < height(); ++y) {
        std::uint16_t* p = row(y);
        for (int x = 0; x < width(); ++x) {
            const int r = ((p[x] >> 10) & 0x1F) * keep / 255, g = ((p[x] >> 5) & 0x1F) * keep / 255,
                      b = (p[x] & 0x1F) * keep / 255;
            p[x] = static_cast<std::uint16_t>((r << 10) | (g << 5) | b);
        }
    }
}

QImage CPixelBuffer16::view()
{
    if (isNull())
        return QImage();
    return QImage(reinterpret_cast<uchar*>(bits()), width(), height(), stride() * 2, QImage::Format_RGB555);
}

QImage CPixelBuffer16::constView() const
{
    if (isNull())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(bits()), width(), height(), stride() * 2, QImage::Format_RGB555);
}

QImage CPixelBuffer16::toRgb32() const
{
    if (isNull())
        return QImage();
    QImage image(width(), height(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < height(); ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint16_t* in = row(y);
        for (int x = 0; x < width(); ++x)
            out[x] = CPixelFormat::qrgbFromColor(CPixelFormat::colorFromRgb16(in[x]));
    }
    return image;
}

int CPixelBuffer16::assignFromImage(const QImage& source)
{
    if (source.isNull() || !create(source.width(), source.height()))
        return 0;
    // Our own conversion keeps the top five bits of each channel exactly.
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint16_t* out = row(y);
        for (int x = 0; x < width(); ++x)
            out[x] = CPixelFormat::rgb16FromColor(CPixelFormat::colorFromQrgb(in[x]));
    }
    return 1;
}

int CPixelBuffer16::loadBmp(const std::string& filename)
{
    if (!CRegularFile::isRegular(filename))
        return 0;
    QImageReader reader(QString::fromStdString(filename), "bmp");
    return assignFromImage(reader.read());
}
