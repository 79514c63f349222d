#include "grid/CItemsMime.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace {
// Bumped when the layout below changes, so an older editor's drag is refused.
constexpr quint32 kLayout = 1;

unsigned long long addressOf(const CResourceHolder& document)
{
    return static_cast<unsigned long long>(reinterpret_cast<quintptr>(&document));
}
} // namespace

QMimeData* CItemsMime::make(const CResourceHolder& document, int group, const std::vector<int>& indexes)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    std::vector<int> rows;
    for (int index : indexes)
        if (document.get(group, index))
            rows.push_back(index);
    out << kLayout << qint64(QCoreApplication::applicationPid()) << quint64(addressOf(document)) << qint32(group)
        << quint32(rows.size());
    for (int index : rows)
        out << qint32(index) << QByteArray::fromStdString(document.get(group, index)->id());
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kFormat), bytes);
    return data;
}

std::optional<CItemsMime::Items> CItemsMime::read(const QMimeData& data)
{
    if (!data.hasFormat(QString::fromLatin1(kFormat)))
        return std::nullopt;
    const QByteArray bytes = data.data(QString::fromLatin1(kFormat));
    QDataStream in(bytes);
    quint32 layout = 0;
    qint64 process = 0;
    quint64 document = 0;
    qint32 group = -1;
    quint32 count = 0;
    in >> layout >> process >> document >> group >> count;
    if (in.status() != QDataStream::Ok || layout != kLayout)
        return std::nullopt;
    Items items;
    items.process = process;
    items.document = document;
    items.group = group;
    // The count is not trusted: reading stops where the bytes do.
    for (quint32 i = 0; i < count; ++i) {
        qint32 index = -1;
        QByteArray id;
        in >> index >> id;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        items.indexes.push_back(index);
        items.ids.push_back(id.toStdString());
    }
    return items;
}

std::vector<int> CItemsMime::rowsIn(const QMimeData& data, const CResourceHolder& document, int group)
{
    const std::optional<Items> items = read(data);
    if (!items || items->group != group || items->process != QCoreApplication::applicationPid() ||
        items->document != addressOf(document))
        return {};
    std::vector<int> rows;
    for (std::size_t i = 0; i < items->indexes.size(); ++i) {
        const CResourceItem* item = document.get(group, items->indexes[i]);
        if (item && item->id() == items->ids[i])
            rows.push_back(items->indexes[i]);
    }
    return rows;
}
