#pragma once

#include <QByteArray>
#include <QRegion>

// The exported bytes of a region, kept in the Win32 RGNDATA layout so that
// files written on either platform read on the other: a 32-byte header
// (header size 32, type 1 = rectangles, rectangle count, byte size of the
// rectangles, bounding box left/top/right/bottom) followed by the rectangles
// as left, top, right, bottom; all little-endian int32, right and bottom
// exclusive.
class CRegionData {
public:
    static constexpr int kHeaderSize = 32;
    static constexpr int kRectangleSize = 16;

    static QByteArray toBytes(const QRegion& region);

    // Rebuilds the region; false (region emptied) when the bytes are not a
    // rectangle list: short header, wrong header size or type, or a count that
    // does not fit in the bytes that follow. Empty rectangles are skipped.
    static bool fromBytes(const QByteArray& bytes, QRegion& region);

    // The region's bounding box has a width and a height an int holds: each
    // rectangle may be valid while their union is wider than that.
    static bool sizeFits(const QRegion& region);
};
