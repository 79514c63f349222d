#include "tools/bitmapcolors/CBitmapColorExtraction.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {
int roundedChannel(double v)
{
    return static_cast<int>(std::trunc(v + 0.5));
}

QRgb word(int red, int green, int blue)
{
    return (static_cast<QRgb>(red) << 16) | (static_cast<QRgb>(green) << 8) | static_cast<QRgb>(blue);
}

// BMP (and a name without extension) get the 24-bit BMP writer; any other
// extension is encoded in the format it names, so that a .png source gives
// .png maps that image programs can open.
int savePicture(const CDisplayBuffer& picture, const std::string& path)
{
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix.isEmpty() || suffix == QLatin1String("bmp"))
        return picture.saveColorAsBmp24(path);
    const QByteArray format = suffix.toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format))
        return 0;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    QImageWriter writer(&file, format);
    if (!writer.write(picture.image().convertToFormat(QImage::Format_RGB32))) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}
} // namespace

QRgb CBitmapColorExtraction::diffusePixel(QRgb pixel)
{
    const int b = static_cast<int>(pixel & 0xFF);
    const int g = static_cast<int>((pixel >> 8) & 0xFF);
    const int r = static_cast<int>((pixel >> 16) & 0xFF);
    const int m = std::max({b, g, r});
    if (m == 0)
        return 0;
    const double k = 255.0 / m;
    return word(roundedChannel(k * r), roundedChannel(k * g), roundedChannel(k * b));
}

QRgb CBitmapColorExtraction::bumpPixel(QRgb pixel)
{
    const int b = static_cast<int>(pixel & 0xFF);
    const int g = static_cast<int>((pixel >> 8) & 0xFF);
    const int r = static_cast<int>((pixel >> 16) & 0xFF);
    const int grey = roundedChannel((b + g + r) * 0.3333333333333333);
    return word(grey, grey, grey);
}

std::string CBitmapColorExtraction::suffixedPath(const std::string& path, const std::string& suffix)
{
    // Names typed on another system may use backslashes between folders.
    const std::size_t nameStart = path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

int CBitmapColorExtraction::extract(const std::string& sourcePath, Map map)
{
    m_lastOutput.clear();
    if (!m_picture.loadFromFile(CDisplayBuffer::DibBitmap32, sourcePath))
        return 0;
    QImage& image = m_picture.image();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb result = map == Map::Diffuse ? diffusePixel(line[x]) : bumpPixel(line[x]);
            // The map has no transparency: the picture keeps it opaque so
            // that it shows as it will be stored.
            line[x] = result | 0xFF000000u;
        }
    }
    const std::string output = suffixedPath(sourcePath, map == Map::Diffuse ? kDiffuseSuffix : kBumpSuffix);
    if (!savePicture(m_picture, output))
        return 0;
    m_lastOutput = output;
    return 1;
}
