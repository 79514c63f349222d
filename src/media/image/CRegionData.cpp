#include "media/image/CRegionData.h"

#include <QList>
#include <QtEndian>

#include <climits>
#include <cstdint>

namespace {
void putInt32(QByteArray& bytes, qsizetype at, std::int32_t value)
{
    qToLittleEndian<std::int32_t>(value, bytes.data() + at);
}

std::int32_t getInt32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<std::int32_t>(bytes.constData() + at);
}

void putRect(QByteArray& bytes, qsizetype at, const QRect& r)
{
    putInt32(bytes, at, r.left());
    putInt32(bytes, at + 4, r.top());
    // right() + 1 rather than left() + width(): a width may not fit an int.
    putInt32(bytes, at + 8, std::int32_t(std::int64_t(r.right()) + 1));
    putInt32(bytes, at + 12, std::int32_t(std::int64_t(r.bottom()) + 1));
}
// True when the rectangles are already in the y-x banded form that regions
// export: the region can then take them as they are, in linear time, which
// keeps even a huge stored list quick to read.
bool isBanded(const QList<QRect>& rects)
{
    for (qsizetype i = 1; i < rects.size(); ++i) {
        const QRect& a = rects[i - 1];
        const QRect& b = rects[i];
        const std::int64_t aRight = std::int64_t(a.left()) + a.width();
        const std::int64_t aBottom = std::int64_t(a.top()) + a.height();
        if (b.top() == a.top()) {
            if (b.height() != a.height() || b.left() <= aRight)
                return false;
        } else if (b.top() < aBottom) {
            return false;
        }
    }
    return true;
}
} // namespace

QByteArray CRegionData::toBytes(const QRegion& region)
{
    const int count = region.rectCount();
    QByteArray bytes(kHeaderSize + qsizetype(count) * kRectangleSize, '\0');
    putInt32(bytes, 0, kHeaderSize);
    putInt32(bytes, 4, 1);
    putInt32(bytes, 8, count);
    putInt32(bytes, 12, count * kRectangleSize);
    if (count > 0)
        putRect(bytes, 16, region.boundingRect());
    qsizetype at = kHeaderSize;
    for (const QRect& r : region) {
        putRect(bytes, at, r);
        at += kRectangleSize;
    }
    return bytes;
}

bool CRegionData::sizeFits(const QRegion& region)
{
    const QRect box = region.boundingRect();
    return std::int64_t(box.right()) - box.left() < INT_MAX && std::int64_t(box.bottom()) - box.top() < INT_MAX;
}

bool CRegionData::fromBytes(const QByteArray& bytes, QRegion& region)
{
    region = QRegion();
    if (bytes.size() < kHeaderSize || getInt32(bytes, 0) != kHeaderSize || getInt32(bytes, 4) != 1)
        return false;
    const std::int64_t count = getInt32(bytes, 8);
    if (count < 0 || count > (bytes.size() - kHeaderSize) / kRectangleSize)
        return false;
    // Collect first and unite once: sorted bands make the union cheap.
    QList<QRect> rects;
    rects.reserve(count);
    for (std::int64_t i = 0; i < count; ++i) {
        const qsizetype at = kHeaderSize + qsizetype(i) * kRectangleSize;
        const std::int64_t left = getInt32(bytes, at), top = getInt32(bytes, at + 4);
        const std::int64_t right = getInt32(bytes, at + 8), bottom = getInt32(bytes, at + 12);
        if (right <= left || bottom <= top || right - left > INT_MAX || bottom - top > INT_MAX)
            continue;
        rects.append(QRect(int(left), int(top), int(right - left), int(bottom - top)));
    }
    if (isBanded(rects)) {
        region.setRects(rects.constData(), int(rects.size()));
    } else {
        for (const QRect& r : rects)
            region += r;
    }
    return true;
}
