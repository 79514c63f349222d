#include "media/image/CPixelBuffer8.h"

#include "core/CRegularFile.h"

#include "media/image/CPixelFormat.h"

#include <QHash>
#include <QImageReader>
#include <QString>

namespace {
// The platform's default palette: the twenty colours every display offers.
constexpr std::array<QRgb, 20> kDefaultPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192),
    qRgb(192, 220, 192), qRgb(166, 202, 240), qRgb(255, 251, 240), qRgb(160, 160, 164),
    qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(255, 255, 255),
};
} // namespace

CPixelBuffer8::CPixelBuffer8()
{
    setDefaultPalette();
}

void CPixelBuffer8::setDefaultPalette()
{
    m_table = QList<QRgb>(256, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < kDefaultPalette.size(); ++i)
        m_table[static_cast<qsizetype>(i)] = kDefaultPalette[i];
}

void CPixelBuffer8::setGreyRamp()
{
    for (int i = 0; i < 256; ++i)
        m_table[i] = qRgb(i, i, i);
}

std::uint32_t CPixelBuffer8::colorAt(int index) const
{
    return index >= 0 && index < 256 ? CPixelFormat::colorFromQrgb(m_table[index]) : 0;
}

void CPixelBuffer8::setColorAt(int index, std::uint32_t color)
{
    if (index >= 0 && index < 256)
        m_table[index] = CPixelFormat::qrgbFromColor(color);
}

std::uint8_t CPixelBuffer8::nearestIndex(std::uint32_t color) const
{
    const QRgb c = CPixelFormat::qrgbFromColor(color);
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const int dr = qRed(m_table[i]) - qRed(c), dg = qGreen(m_table[i]) - qGreen(c), db = qBlue(m_table[i]) - qBlue(c);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

QImage CPixelBuffer8::view() const
{
    if (isNull())
        return QImage();
    QImage image(bits(), width(), height(), stride(), QImage::Format_Indexed8);
    image.setColorTable(m_table);
    return image;
}

int CPixelBuffer8::assignFromImage(const QImage& source)
{
    if (source.isNull() || !create(source.width(), source.height()))
        return 0;
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    // Pictures repeat colours a lot; remember each answer of the table search.
    QHash<QRgb, std::uint8_t> cache;
    for (int y = 0; y < height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = row(y);
        for (int x = 0; x < width(); ++x) {
            const QRgb key = in[x] | 0xFF000000u;
            auto it = cache.constFind(key);
            if (it == cache.cend())
                it = cache.insert(key, nearestIndex(CPixelFormat::colorFromQrgb(key)));
            out[x] = *it;
        }
    }
    return 1;
}

int CPixelBuffer8::loadBmp(const std::string& filename)
{
    if (!CRegularFile::isRegular(filename))
        return 0;
    QImageReader reader(QString::fromStdString(filename), "bmp");
    const QImage image = reader.read();
    if (image.isNull())
        return 0;
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() > 0) {
        if (!create(image.width(), image.height()))
            return 0;
        setDefaultPalette();
        for (int i = 0; i < image.colorCount() && i < 256; ++i)
            m_table[i] = image.color(i) | 0xFF000000u;
        for (int y = 0; y < height(); ++y)
            std::copy_n(image.constScanLine(y), width(), row(y));
        return 1;
    }
    return assignFromImage(image);
}
