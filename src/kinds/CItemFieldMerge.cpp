#include "kinds/CItemFieldMerge.h"

#include "core/CKindJson.h"
#include "core/CResourceItem.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CDocumentDiff.h"
#include "kinds/CDocumentJson.h"

#include <QJsonArray>

#include <algorithm>
#include <memory>
#include <vector>

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

// One record set to a JSON form: its ID and comments, and, when that is not
// all and `assign` allows, every field the form sets.
std::unique_ptr<CResourceItem> madeToShow(int group, const CResourceItem& prototype, const QByteArray& start,
                                          const QJsonObject& wanted, const QStringList& clashes, bool assign)
{
    std::unique_ptr<CResourceItem> item = itemOf(prototype, start);
    if (!item)
        return nullptr;
    item->setId(toBytes(wanted.value(QStringLiteral("id")).toString()));
    item->setComments(toBytes(wanted.value(QStringLiteral("comments")).toString()));
    if (shows(group, *item, wanted, clashes))
        return item;
    QString why;
    const CKindJson* form = kindJson(group);
    if (assign && form && form->assign(*item, wanted, QDir(), why) && shows(group, *item, wanted, clashes))
        return item;
    return nullptr;
}

// Whether the JSON form shows all a side changed: the base set to the
// side's form gives the side's record again. A side that changed what only
// its record holds (a picture's pixels) can only be built on.
bool wholeInJson(int group, const CResourceItem& prototype, const QByteArray& base, const QByteArray& side,
                 const QJsonObject& sideJson)
{
    const std::unique_ptr<CResourceItem> item = madeToShow(group, prototype, base, sideJson, {}, true);
    return item && storeRecord(*item) == side;
}

struct Start {
    const QByteArray* record;
    bool assign;  // whether the form may set its fields; not when it holds what the form cannot show
};

// The merged record, built on the first start that can be made to show
// `wanted`.
std::optional<QByteArray> build(int group, const CResourceItem& prototype, const std::vector<Start>& starts,
                                const QJsonObject& wanted, const QStringList& clashes)
{
    for (const Start& start : starts)
        if (const auto item = madeToShow(group, prototype, *start.record, wanted, clashes, start.assign))
            return storeRecord(*item);
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
    // Built on a side whose change the form may not show whole, so that
    // nothing of it is lost; the other side's change must show whole.
    const bool oursWhole = wholeInJson(group, prototype, base, ours, jo);
    const bool theirsWhole = wholeInJson(group, prototype, base, theirs, jt);
    std::vector<Start> starts;
    if (theirsWhole)
        starts.push_back({&ours, oursWhole});
    if (oursWhole)
        starts.push_back({&theirs, theirsWhole});
    const std::optional<QByteArray> first = build(group, prototype, starts, withOurs, clashes);
    if (!first) {
        // Nothing the form can set makes the item: the sides changed what
        // only their records hold.
        result.clashes = clashes.isEmpty() ? QStringList{QStringLiteral("(the whole item)")} : clashes;
        return result;
    }
    if (!clashes.isEmpty()) {
        std::reverse(starts.begin(), starts.end());
        const std::optional<QByteArray> second = build(group, prototype, starts, withTheirs, clashes);
        if (!second || *second != *first) {
            result.clashes = clashes;
            return result;
        }
    }
    result.record = first;
    return result;
}
