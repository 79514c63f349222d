#pragma once

#include "quillop/runtime/Records.h"

#include <cstdint>
#include <vector>

namespace quillop {

struct RegionRect {
    std::int64_t x = 0, y = 0, width = 0, height = 0;
};

// A painting region (kind 6 bitmaps) as the rectangles it covers, in bands:
// top to bottom, each band's rectangles left to right, touching ones
// joined, equal neighbouring bands joined. A stored list already in that
// order is taken as it is. Rectangles without area are left out.
class CRegion {
public:
    // False when the bytes are no rectangle list (a 32-byte header, then
    // the rectangles as left, top, right, bottom).
    bool read(const ByteSpan& bytes);

    const std::vector<RegionRect>& rects() const { return m_rects; }
    // The box around every rectangle; empty without rectangles.
    RegionRect bounds() const;
    // The bytes the region takes stored again.
    std::int64_t storedSize() const { return kHeaderBytes + kRectangleBytes * std::int64_t(m_rects.size()); }

    static constexpr std::int64_t kHeaderBytes = 32;
    static constexpr std::int64_t kRectangleBytes = 16;

private:
    static bool banded(const std::vector<RegionRect>& rects);
    static std::vector<RegionRect> inBands(const std::vector<RegionRect>& rects);

    std::vector<RegionRect> m_rects;
};

} // namespace quillop
