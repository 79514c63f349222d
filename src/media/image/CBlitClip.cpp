#include "media/image/CBlitClip.h"

#include <algorithm>
#include <cstdint>

namespace {
// One axis of the clip. Arithmetic in 64 bits so that extreme requests cannot
// overflow on their way to "nothing to draw".
bool clipAxis(int& s, int& len, int& d, int srcSize, int dstSize)
{
    std::int64_t start = s, length = len, dest = d;
    if (start < 0) {
        length += start;
        start = 0;
    }
    length = std::min<std::int64_t>(length, srcSize - start);
    if (dest < 0) {
        start -= dest;
        length += dest;
        dest = 0;
    }
    length = std::min<std::int64_t>(length, dstSize - dest);
    if (length <= 0 || start >= srcSize || dest >= dstSize)
        return false;
    s = static_cast<int>(start);
    len = static_cast<int>(length);
    d = static_cast<int>(dest);
    return true;
}
} // namespace

bool CBlitClip::clip(int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    return clipAxis(sx, w, dx, srcWidth, dstWidth) && clipAxis(sy, h, dy, srcHeight, dstHeight);
}
