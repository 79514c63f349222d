#include "quillop/runtime/Region.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace quillop {

namespace {
std::int64_t int32At(const ByteSpan& bytes, std::int64_t at)
{
    std::int32_t value;
    std::memcpy(&value, bytes.data + at, sizeof value);
    return value;
}

using Spans = std::vector<std::pair<std::int64_t, std::int64_t>>;  // [left, right) in one band
} // namespace

bool CRegion::read(const ByteSpan& bytes)
{
    m_rects.clear();
    const auto size = static_cast<std::int64_t>(bytes.size);
    if (size < kHeaderBytes || int32At(bytes, 0) != kHeaderBytes || int32At(bytes, 4) != 1)
        return false;
    const std::int64_t count = int32At(bytes, 8);
    if (count < 0 || count > (size - kHeaderBytes) / kRectangleBytes)
        return false;
    std::vector<RegionRect> rects;
    rects.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t at = kHeaderBytes + i * kRectangleBytes;
        const std::int64_t left = int32At(bytes, at), top = int32At(bytes, at + 4);
        const std::int64_t right = int32At(bytes, at + 8), bottom = int32At(bytes, at + 12);
        if (right <= left || bottom <= top || right - left > INT_MAX || bottom - top > INT_MAX)
            continue;
        rects.push_back({left, top, right - left, bottom - top});
    }
    m_rects = banded(rects) ? std::move(rects) : inBands(rects);
    return true;
}

RegionRect CRegion::bounds() const
{
    if (m_rects.empty())
        return {};
    std::int64_t left = m_rects[0].x, top = m_rects[0].y;
    std::int64_t right = left + m_rects[0].width, bottom = top + m_rects[0].height;
    for (const RegionRect& r : m_rects) {
        left = std::min(left, r.x);
        top = std::min(top, r.y);
        right = std::max(right, r.x + r.width);
        bottom = std::max(bottom, r.y + r.height);
    }
    return {left, top, right - left, bottom - top};
}

bool CRegion::banded(const std::vector<RegionRect>& rects)
{
    for (std::size_t i = 1; i < rects.size(); ++i) {
        const RegionRect& a = rects[i - 1];
        const RegionRect& b = rects[i];
        if (b.y == a.y) {
            if (b.height != a.height || b.x <= a.x + a.width)
                return false;
        } else if (b.y < a.y + a.height) {
            return false;
        }
    }
    return true;
}

std::vector<RegionRect> CRegion::inBands(const std::vector<RegionRect>& rects)
{
    std::vector<std::int64_t> edges;
    for (const RegionRect& r : rects) {
        edges.push_back(r.y);
        edges.push_back(r.y + r.height);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<RegionRect> out;
    Spans previous;
    std::int64_t previousBottom = 0;
    std::size_t previousFirst = 0;
    for (std::size_t b = 0; b + 1 < edges.size(); ++b) {
        const std::int64_t top = edges[b], bottom = edges[b + 1];
        Spans spans;
        for (const RegionRect& r : rects)
            if (r.y <= top && r.y + r.height >= bottom)
                spans.emplace_back(r.x, r.x + r.width);
        std::sort(spans.begin(), spans.end());
        Spans joined;
        for (const auto& s : spans) {
            if (!joined.empty() && s.first <= joined.back().second)
                joined.back().second = std::max(joined.back().second, s.second);
            else
                joined.push_back(s);
        }
        if (joined.empty())
            continue;
        if (joined == previous && previousBottom == top) {
            // The same spans right below: the band above grows instead.
            for (std::size_t i = previousFirst; i < out.size(); ++i)
                out[i].height = bottom - out[i].y;
        } else {
            previousFirst = out.size();
            for (const auto& s : joined)
                out.push_back({s.first, top, s.second - s.first, bottom - top});
        }
        previous = std::move(joined);
        previousBottom = bottom;
    }
    return out;
}

} // namespace quillop
