#include "support/ItemBytes.h"

#include "core/CArchive.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"

#include <QBuffer>

QByteArray archived(const std::function<void(CArchive&)>& body)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    CDeviceArchive ar(buffer, CArchive::Mode::Store);
    body(ar);
    ar.close();
    return bytes;
}

std::int64_t readArchived(QByteArray bytes, const std::function<void(CArchive&)>& body)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CDeviceArchive ar(buffer, CArchive::Mode::Load);
    body(ar);
    return ar.remaining();
}

QByteArray storeItem(CResourceItem& item, CSectionCoder coder)
{
    return archived([&](CArchive& ar) { item.serialize(ar, coder); });
}

std::int64_t loadItem(CResourceItem& item, QByteArray bytes, CSectionCoder coder)
{
    return readArchived(std::move(bytes), [&](CArchive& ar) { item.serialize(ar, coder); });
}

QByteArray le32(std::uint32_t value)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((value >> (8 * i)) & 0xff);
    return b;
}

QByteArray le16(std::uint16_t value) { return le32(value).left(2); }

QByteArray pcm16(std::initializer_list<std::int16_t> values)
{
    QByteArray b;
    for (std::int16_t v : values)
        b += le16(static_cast<std::uint16_t>(v));
    return b;
}

QByteArray codedText(const std::string& text)
{
    return le32(static_cast<std::uint32_t>(text.size())) + QByteArray::fromStdString(text);
}

QByteArray recordHeader(const std::string& id, const std::string& comments)
{
    return le32(0) + le32(1) + le32(0) + codedText(id) + codedText(comments);
}

QByteArray documentRecords(const CResourceHolder& holder)
{
    QByteArray bytes = QByteArray::fromStdString(holder.id() + '\n' + holder.comments() + '\n');
    for (int g = 0; g < kGroupCount; ++g)
        for (int i = 0; i < holder.count(g); ++i)
            bytes += QByteArray::number(g) + ':' + storeItem(*holder.get(g, i));
    return bytes;
}
