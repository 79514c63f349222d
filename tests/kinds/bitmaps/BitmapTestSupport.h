#pragma once

#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"
#include "support/ItemBytes.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <cstring>
#include <string>

// Byte builders and item coding shared by the bitmap tests, under the
// names they were first written with.
namespace bitmaptest {

using ::le32;

inline QByteArray f64(double v)
{
    QByteArray b(8, '\0');
    std::memcpy(b.data(), &v, 8);
    return b;
}

inline QByteArray str(const std::string& s) { return codedText(s); }

// The item header every record starts with.
inline QByteArray itemHeader(const std::string& id, const std::string& comments) { return recordHeader(id, comments); }

inline QByteArray store(CResourceItem& item, const CSectionCoder& coder) { return storeItem(item, coder); }

// Reads the item from the bytes; answers what was left unread.
inline qint64 load(CResourceItem& item, QByteArray bytes, const CSectionCoder& coder)
{
    return loadItem(item, std::move(bytes), coder);
}

inline QByteArray encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? bytes : QByteArray();
}

// An opaque picture with one colour per quarter.
inline QImage quarters(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x < w / 2 ? (y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0)) : (y < h / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0)));
    return image;
}

} // namespace bitmaptest
