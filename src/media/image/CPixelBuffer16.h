#pragma once

#include "media/image/CPixelBuffer.h"
#include "media/image/CPixelBuffer8.h"

#include <QImage>

#include <cstdint>
#include <string>

// 16-bit 5-5-5 buffer with the game-side blits that only this depth has.
class CPixelBuffer16 : public CPixelBuffer<std::uint16_t> {
public:
    static constexpr std::uint16_t kSecondKey = 0xFFFE;

    // Keyed copy with the second key, 0xFFFE.
    void copyKeyed2(const CPixelBuffer16& src, int sx, int sy, int w, int h, int dx, int dy);
    void copyKeyed2(const CPixelBuffer16& src, int dx, int dy);

    // Where the source pixel is 0 the destination becomes 0; elsewhere it stays.
    void punch(const CPixelBuffer16& src, int sx, int sy, int w, int h, int dx, int dy);
    void punch(const CPixelBuffer16& src, int dx, int dy);

    // Blends the source in through an 8-bit plane aligned with the source:
    // 0 keeps the destination, 255 copies the source, other values mix each
    // 5-bit channel. Nothing happens when the plane is smaller than the source.
    void blendPlane(const CPixelBuffer16& src, const CPixelBuffer8& plane, int sx, int sy, int w, int h, int dx, int dy);
    void blendPlane(const CPixelBuffer16& src, const CPixelBuffer8& plane, int dx, int dy);

    // Every channel := channel * (255 - amount) / 255; amount is kept within 0..255.
    void fade(int amount);

    // A writable 5-5-5 image sharing the pixels: QPainter draws straight
    // into the buffer through it. Valid until the buffer is recreated.
    QImage view();
    QImage constView() const;

    // A 32-bit copy whose channels are the 5-bit values shifted left by 3,
    // the same colours pixel reads give.
    QImage toRgb32() const;

    int assignFromImage(const QImage& image);
    int loadBmp(const std::string& filename);
};
