#pragma once

#include <QColor>

#include <cstdint>

// Colours cross our interfaces as 0x00BBGGRR (red in the low byte); the
// buffers store other layouts. These are the only conversions between them.
class CPixelFormat {
public:
    // 5-5-5: bits 10-14 red, 5-9 green, 0-4 blue, bit 15 unused. Each 8-bit
    // channel keeps its top five bits.
    static constexpr std::uint16_t rgb16FromColor(std::uint32_t color)
    {
        const std::uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
        return static_cast<std::uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    }

    // Back to a colour: each 5-bit channel shifted left by 3, low bits 0.
    static constexpr std::uint32_t colorFromRgb16(std::uint16_t pixel)
    {
        const std::uint32_t r = ((pixel >> 10) & 0x1F) << 3, g = ((pixel >> 5) & 0x1F) << 3, b = (pixel & 0x1F) << 3;
        return r | (g << 8) | (b << 16);
    }

    // 0x00BBGGRR <-> Qt's 0xAARRGGBB (opaque).
    static constexpr QRgb qrgbFromColor(std::uint32_t color)
    {
        return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    }
    static constexpr std::uint32_t colorFromQrgb(QRgb rgb)
    {
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
};
