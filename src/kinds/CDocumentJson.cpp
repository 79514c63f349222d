#include "kinds/CDocumentJson.h"

#include "core/CKindJson.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {
QString groupKey(int g) { return QString::fromLatin1(kGroupKeys[static_cast<std::size_t>(g)].data()); }

// The first of "id" and "comments" that is there but is not a text.
std::optional<QString> misTypedText(const QJsonObject& fields)
{
    for (const QString& key : {QStringLiteral("id"), QStringLiteral("comments")})
        if (fields.contains(key) && !fields[key].isString())
            return key;
    return std::nullopt;
}
} // namespace

QJsonObject CDocumentJson::dump(const CResourceHolder& holder)
{
    QJsonObject groups;
    for (int g = 0; g < kGroupCount; ++g) {
        QJsonArray items;
        for (int i = 0; i < holder.count(g); ++i)
            items.append(describeItem(g, *holder.get(g, i)));
        groups[groupKey(g)] = items;
    }
    QJsonObject doc;
    doc[QStringLiteral("id")] = fromBytes(holder.id());
    doc[QStringLiteral("comments")] = fromBytes(holder.comments());
    doc[QStringLiteral("groups")] = groups;
    return doc;
}

QJsonObject CDocumentJson::describeItem(int group, const CResourceItem& item)
{
    QJsonObject fields;
    fields[QStringLiteral("id")] = fromBytes(item.id());
    fields[QStringLiteral("comments")] = fromBytes(item.comments());
    if (const CKindJson* form = kindJson(group))
        form->describe(item, fields);
    return fields;
}

int CDocumentJson::pack(const QJsonObject& manifest, const QDir& base, CResourceHolder& holder, QString& error)
{
    holder.clear();
    // A value of the wrong type is named, not read as empty: a document
    // short of what the manifest meant would be written without a word.
    if (const auto key = misTypedText(manifest)) {
        error = QStringLiteral("\"%1\" is not a text").arg(*key);
        return 0;
    }
    if (manifest.contains(QStringLiteral("id")))
        holder.setId(toBytes(manifest[QStringLiteral("id")].toString()));
    if (manifest.contains(QStringLiteral("comments")))
        holder.setComments(toBytes(manifest[QStringLiteral("comments")].toString()));
    if (manifest.contains(QStringLiteral("groups")) && !manifest[QStringLiteral("groups")].isObject()) {
        error = QStringLiteral("\"groups\" is not an object of group lists");
        return 0;
    }
    const QJsonObject groups = manifest[QStringLiteral("groups")].toObject();
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        int g = 0;
        while (g < kGroupCount && groupKey(g) != it.key())
            ++g;
        if (g == kGroupCount) {
            error = QStringLiteral("unknown group \"%1\"").arg(it.key());
            return 0;
        }
        if (!it.value().isArray()) {
            error = QStringLiteral("%1: not a list of items").arg(it.key());
            return 0;
        }
        const CKindJson* form = kindJson(g);
        const QJsonArray items = it.value().toArray();
        for (qsizetype index = 0; index < items.size(); ++index) {
            const QString place = QStringLiteral("%1[%2]").arg(it.key()).arg(index);
            if (!items[index].isObject()) {
                error = QStringLiteral("%1: an item is an object of fields").arg(place);
                return 0;
            }
            const QJsonObject fields = items[index].toObject();
            if (const auto key = misTypedText(fields)) {
                error = QStringLiteral("%1: \"%2\" is not a text").arg(place, *key);
                return 0;
            }
            const QString id = fields[QStringLiteral("id")].toString(QStringLiteral("New ID"));
            CResourceItem* item = holder.get(g, holder.newItem(g, toBytes(id)));
            if (!item) {
                error = QStringLiteral("%1/%2: the item cannot be created").arg(it.key(), id);
                return 0;
            }
            item->setComments(toBytes(fields[QStringLiteral("comments")].toString()));
            QString why;
            if (form && !form->assign(*item, fields, base, why)) {
                error = QStringLiteral("%1/%2: %3").arg(it.key(), id, why);
                return 0;
            }
        }
    }
    return 1;
}

QString CDocumentJson::safeFileName(const QString& id)
{
    QString name = id;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    name.truncate(80);
    return name.isEmpty() ? QStringLiteral("item") : name;
}

int CDocumentJson::extract(const CResourceHolder& holder, const QDir& dir, QString& error)
{
    if (!dir.mkpath(QStringLiteral("."))) {
        error = QStringLiteral("cannot create %1").arg(dir.path());
        return -1;
    }
    int written = 0;
    auto writeFile = [&](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
        ++written;
        return true;
    };
    for (int g = 0; g < kGroupCount; ++g) {
        const CKindJson* form = kindJson(g);
        if (!form)
            continue;
        for (int i = 0; i < holder.count(g); ++i) {
            const CResourceItem& item = *holder.get(g, i);
            const auto file = form->extract(item);
            if (!file)
                continue;
            // The row number keeps names apart when IDs repeat.
            const QString name = QStringLiteral("%1_%2.%3")
                                     .arg(i, 4, 10, QLatin1Char('0'))
                                     .arg(safeFileName(fromBytes(item.id())), safeFileName(file->extension));
            if (!dir.mkpath(groupKey(g)) || !writeFile(dir.filePath(groupKey(g) + QLatin1Char('/') + name), file->bytes))
                return -1;
        }
    }
    QJsonObject doc = dump(holder);
    QJsonObject groups = doc[QStringLiteral("groups")].toObject();
    QJsonObject kept;
    for (int g : {GroupTexts, GroupColors})
        kept[groupKey(g)] = groups[groupKey(g)];
    doc[QStringLiteral("groups")] = kept;
    if (!writeFile(dir.filePath(QStringLiteral("document.json")), QJsonDocument(doc).toJson(QJsonDocument::Indented)))
        return -1;
    return written;
}

QString CDocumentJson::firstDifference(const QJsonValue& written, const QJsonValue& read, const QString& where)
{
    if (written == read)
        return {};
    auto shown = [](const QJsonValue& v) {
        if (v.isObject() || v.isArray())
            return v.isObject() ? QStringLiteral("an object") : QStringLiteral("%1 entries").arg(v.toArray().size());
        const QByteArray text = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(text.mid(1, text.size() - 2)).left(80);
    };
    if (written.isObject() && read.isObject()) {
        const QJsonObject a = written.toObject();
        const QJsonObject b = read.toObject();
        for (auto it = a.begin(); it != a.end(); ++it) {
            const QString inner = where.isEmpty() ? it.key() : where + QLatin1Char('.') + it.key();
            if (const QString found = firstDifference(it.value(), b.value(it.key()), inner); !found.isEmpty())
                return found;
        }
        for (auto it = b.begin(); it != b.end(); ++it)
            if (!a.contains(it.key()))
                return QStringLiteral("%1.%2 appears").arg(where, it.key());
    }
    if (written.isArray() && read.isArray() && written.toArray().size() == read.toArray().size()) {
        const QJsonArray a = written.toArray();
        const QJsonArray b = read.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            if (const QString found = firstDifference(a[i], b[i], QStringLiteral("%1[%2]").arg(where).arg(i));
                !found.isEmpty())
                return found;
    }
    return QStringLiteral("%1: %2, then %3").arg(where.isEmpty() ? QStringLiteral("document") : where, shown(written),
                                                 shown(read));
}
