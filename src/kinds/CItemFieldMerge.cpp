#include "kinds/CItemFieldMerge.h"

#include "core/CKindJson.h"
#include "core/CResourceItem.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CDocumentDiff.h"
#include "kinds/CDocumentJson.h"

#include <QJsonArray>

#include <array>
#include <memory>

namespace {
std::unique_ptr<CResourceItem> itemOf(const CResourceItem& prototype, const QByteArray& record)
{
    std::unique_ptr<CResourceItem> item = prototype.createDefault();
    if (!item || !loadRecord(*item, record))
        return nullptr;
    return item;
}

QString childPath(const QString& path, const QString& key) { return path.isEmpty() ? key : path + QLatin1Char('.') + key; }

// Three-way merge of JSON values. Where both sides changed a value
// differently, the clash is named and one side's value stands in for it.
QJsonValue merged(const QJsonValue& b, const QJsonValue& o, const QJsonValue& t, const QString& path, bool preferTheirs,
                  QStringList& clashes)
{
    if (o == t || t == b)
        return o;
    if (o == b)
        return t;
    if (b.isObject() && o.isObject() && t.isObject()) {
        const QJsonObject bo = b.toObject(), oo = o.toObject(), to = t.toObject();
        QStringList keys = bo.keys() + oo.keys() + to.keys();
        keys.removeDuplicates();
        QJsonObject out;
        for (const QString& key : keys) {
            const QJsonValue v = merged(bo.value(key), oo.value(key), to.value(key), childPath(path, key), preferTheirs, clashes);
            if (!v.isUndefined())
                out.insert(key, v);
        }
        return out;
    }
    if (b.isArray() && o.isArray() && t.isArray()) {
        const QJsonArray ba = b.toArray(), oa = o.toArray(), ta = t.toArray();
        if (ba.size() == oa.size() && oa.size() == ta.size()) {
            QJsonArray out;
            for (qsizetype i = 0; i < ba.size(); ++i)
                out.append(merged(ba[i], oa[i], ta[i], QStringLiteral("%1[%2]").arg(path).arg(i), preferTheirs, clashes));
            return out;
        }
    }
    clashes << path;
    return preferTheirs ? t : o;
}

bool underAny(const QString& path, const QStringList& clashes)
{
    for (const QString& clash : clashes)
        if (path == clash || path.startsWith(clash + QLatin1Char('.')) || path.startsWith(clash + QLatin1Char('[')))
            return true;
    return false;
}

// Whether the item shows every wanted value outside the clashes.
bool shows(int group, const CResourceItem& item, const QJsonObject& wanted, const QStringList& clashes)
{
    const QMap<QString, QString> have = CDocumentDiff::flatFields(CDocumentJson::describeItem(group, item));
    const QMap<QString, QString> want = CDocumentDiff::flatFields(wanted);
    for (auto it = want.begin(); it != want.end(); ++it)
        if (!underAny(it.key(), clashes) && have.value(it.key(), QStringLiteral("\n")) != it.value())
            return false;
    for (auto it = have.begin(); it != have.end(); ++it)
        if (!underAny(it.key(), clashes) && !want.contains(it.key()))
            return false;
    return true;
}

// One side's record made to show `wanted`: its ID and comments set, and,
// for kinds whose JSON form sets every field, all fields assigned.
std::optional<QByteArray> build(int group, const CResourceItem& prototype, const std::array<const QByteArray*, 2>& starts,
                                const QJsonObject& wanted, const QStringList& clashes)
{
    for (const QByteArray* start : starts) {
        std::unique_ptr<CResourceItem> item = itemOf(prototype, *start);
        if (!item)
            continue;
        item->setId(toBytes(wanted.value(QStringLiteral("id")).toString()));
        item->setComments(toBytes(wanted.value(QStringLiteral("comments")).toString()));
        if (shows(group, *item, wanted, clashes))
            return storeRecord(*item);
        QString why;
        const CKindJson* form = kindJson(group);
        if (form && form->assign(*item, wanted, QDir(), why) && shows(group, *item, wanted, clashes))
            return storeRecord(*item);
    }
    return std::nullopt;
}
} // namespace

CItemFieldMerge::Result CItemFieldMerge::merge(int group, const CResourceItem& prototype, const QByteArray& base,
                                               const QByteArray& ours, const QByteArray& theirs)
{
    Result result;
    const auto b = itemOf(prototype, base), o = itemOf(prototype, ours), t = itemOf(prototype, theirs);
    if (!b || !o || !t) {
        result.clashes << QStringLiteral("(the record does not read)");
        return result;
    }
    const QJsonObject jb = CDocumentJson::describeItem(group, *b), jo = CDocumentJson::describeItem(group, *o),
                      jt = CDocumentJson::describeItem(group, *t);
    QStringList clashes, same;
    const QJsonObject withOurs = merged(jb, jo, jt, QString(), false, clashes).toObject();
    const QJsonObject withTheirs = merged(jb, jo, jt, QString(), true, same).toObject();
    const std::optional<QByteArray> first = build(group, prototype, {&ours, &theirs}, withOurs, clashes);
    if (!first) {
        // Nothing the form can set makes the item: the sides changed what
        // only their records hold.
        result.clashes = clashes.isEmpty() ? QStringList{QStringLiteral("(the whole item)")} : clashes;
        return result;
    }
    if (!clashes.isEmpty()) {
        const std::optional<QByteArray> second = build(group, prototype, {&theirs, &ours}, withTheirs, clashes);
        if (!second || *second != *first) {
            result.clashes = clashes;
            return result;
        }
    }
    result.record = first;
    return result;
}
