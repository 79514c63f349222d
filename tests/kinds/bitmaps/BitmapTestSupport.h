#pragma once

#include "core/CArchive.h"
#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <cstring>
#include <string>

// Byte builders and item coding shared by the bitmap tests.
namespace bitmaptest {

inline QByteArray le32(std::uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xff);
    return b;
}

inline QByteArray f64(double v)
{
    QByteArray b(8, '\0');
    std::memcpy(b.data(), &v, 8);
    return b;
}

inline QByteArray str(const std::string& s) { return le32(std::uint32_t(s.size())) + QByteArray::fromStdString(s); }

// The item header every record starts with.
inline QByteArray itemHeader(const std::string& id, const std::string& comments)
{
    return le32(0) + le32(1) + le32(0) + str(id) + str(comments);
}

inline QByteArray store(CResourceItem& item, CSectionCoder& coder)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    CArchive ar(buffer, CArchive::Mode::Store);
    item.serialize(ar, coder);
    ar.close();
    return bytes;
}

// Reads the item from the bytes; answers what was left unread.
inline qint64 load(CResourceItem& item, QByteArray bytes, CSectionCoder& coder)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchive ar(buffer, CArchive::Mode::Load);
    item.serialize(ar, coder);
    return ar.remaining();
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
