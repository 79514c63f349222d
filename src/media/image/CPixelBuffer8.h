#pragma once

#include "media/image/CPixelBuffer.h"

#include <QImage>
#include <QList>

#include <array>
#include <cstdint>
#include <string>

// 8-bit palettised buffer with a 256-entry colour table. The table starts as
// the platform's 20-colour default palette followed by black.
class CPixelBuffer8 : public CPixelBuffer<std::uint8_t> {
public:
    CPixelBuffer8();

    void setDefaultPalette();
    // Entry i becomes i * 0x010101.
    void setGreyRamp();
    // Entries as 0x00BBGGRR colours; an index outside 0..255 reads 0 and is not written.
    std::uint32_t colorAt(int index) const;
    void setColorAt(int index, std::uint32_t color);
    // The entry closest to the colour (squared distance; lowest index on ties).
    std::uint8_t nearestIndex(std::uint32_t color) const;

    // A read-only image sharing the pixels, for drawing; valid while the
    // buffer is neither recreated nor destroyed.
    QImage view() const;
    // Replaces the pixels by the image, sized to it; each pixel becomes the
    // nearest entry of the current table. 0 for a null or oversized image.
    int assignFromImage(const QImage& image);
    // Loads a BMP file, sized to it; an 8-bit file brings its own table.
    int loadBmp(const std::string& filename);

private:
    QList<QRgb> m_table;
};
