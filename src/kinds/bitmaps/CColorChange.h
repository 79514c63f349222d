#pragma once

#include <QRgb>

#include <cstdint>

// Replacing one colour of a picture by another, by hue rather than by exact
// value: a pixel whose hue (its colour with the grey part taken out, scaled
// by its brightest channel) lies close to the source's is replaced by the
// target; between half the hue tolerance and the tolerance it keeps a growing
// share of its own value; beyond it, or when its darkest or brightest channel
// strays too far from the source's, it is left alone. Integer arithmetic on
// 0..255 channels except the final blend.
class CColorChange {
public:
    struct Normalised {
        int r = 0;
        int g = 0;
        int b = 0;
    };

    // Colours are 0x00BBGGRR with a separate alpha, as everywhere at our
    // interfaces.
    CColorChange(std::uint32_t sourceColor, int sourceAlpha, std::uint32_t targetColor, int targetAlpha,
                 int hueTolerance, int minTolerance, int maxTolerance);

    // The values the Change Color command passes.
    static constexpr int kCommandHueTolerance = 80;
    static constexpr int kCommandMinTolerance = 128;
    static constexpr int kCommandMaxTolerance = 128;

    // (0, 0, 0) for greys; otherwise each channel less the smallest, times
    // 255, divided (integer) by the largest channel.
    static Normalised normalise(int r, int g, int b);

    // The new value of a non-premultiplied 0xAARRGGBB pixel (the pixel itself
    // when it is not changed).
    QRgb apply(QRgb pixel) const;

private:
    bool keepsChannelOrder(int r, int g, int b) const;

    int m_sr, m_sg, m_sb;
    int m_ta, m_tr, m_tg, m_tb;
    int m_tolerance, m_minTolerance, m_maxTolerance;
    int m_sourceMin, m_sourceMax;
    Normalised m_sourceHue;
};
