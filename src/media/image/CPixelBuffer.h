#pragma once

#include "media/image/CBlitClip.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// A top-down pixel buffer whose rows are the width rounded up to a multiple
// of 4 pixels, as the game-side drawing code expects of 8- and 16-bit
// buffers. The blits shared by both depths live here; each depth adds its own.
template <typename Pixel>
class CPixelBuffer {
public:
    // Largest side accepted; keeps every size computation far from overflow.
    static constexpr int kMaxSide = 32767;

    virtual ~CPixelBuffer() = default;

    // Replaces the pixels by a zeroed buffer; 0 when the size is refused.
    int create(int width, int height)
    {
        if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
            return 0;
        m_width = width;
        m_height = height;
        m_stride = (width + 3) & ~3;
        m_pixels.assign(static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(height), Pixel(0));
        return 1;
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    int stride() const { return m_stride; }
    bool isNull() const { return m_pixels.empty(); }

    Pixel* row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * m_stride; }
    const Pixel* row(int y) const { return m_pixels.data() + static_cast<std::size_t>(y) * m_stride; }
    Pixel* bits() { return m_pixels.data(); }
    const Pixel* bits() const { return m_pixels.data(); }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    Pixel pixel(int x, int y) const { return row(y)[x]; }
    void setPixel(int x, int y, Pixel value) { row(y)[x] = value; }

    void copy(const CPixelBuffer& src, int sx, int sy, int w, int h, int dx, int dy)
    {
        blit(src, sx, sy, w, h, dx, dy, [](Pixel& d, Pixel s, int, int) { d = s; });
    }
    void copy(const CPixelBuffer& src, int dx, int dy) { copy(src, 0, 0, src.m_width, src.m_height, dx, dy); }

    // Source pixels equal to the key are skipped (transparent).
    void copyKeyed(const CPixelBuffer& src, int sx, int sy, int w, int h, int dx, int dy, Pixel key = 0)
    {
        blit(src, sx, sy, w, h, dx, dy, [key](Pixel& d, Pixel s, int, int) {
            if (s != key)
                d = s;
        });
    }
    void copyKeyed(const CPixelBuffer& src, int dx, int dy, Pixel key = 0)
    {
        copyKeyed(src, 0, 0, src.m_width, src.m_height, dx, dy, key);
    }

    void fill(Pixel value)
    {
        for (int y = 0; y < m_height; ++y)
            std::fill(row(y), row(y) + m_width, value);
    }

protected:
    // Clips, then calls op(destination pixel, source pixel, source x, source y)
    // for every pixel of the rectangle.
    template <typename Op>
    void blit(const CPixelBuffer& src, int sx, int sy, int w, int h, int dx, int dy, Op op)
    {
        if (&src == this) {
            // Scrolling within one buffer: read from a snapshot so that
            // overlapping rows are not read after being overwritten.
            const CPixelBuffer snapshot(src);
            blit(snapshot, sx, sy, w, h, dx, dy, op);
            return;
        }
        CBlitClip c{sx, sy, w, h, dx, dy};
        if (isNull() || src.isNull() || !c.clip(src.m_width, src.m_height, m_width, m_height))
            return;
        for (int y = 0; y < c.h; ++y) {
            const Pixel* s = src.row(c.sy + y) + c.sx;
            Pixel* d = row(c.dy + y) + c.dx;
            for (int x = 0; x < c.w; ++x)
                op(d[x], s[x], c.sx + x, c.sy + y);
        }
    }

private:
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    std::vector<Pixel> m_pixels;
};
