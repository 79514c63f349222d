#include "kinds/CDocumentDiff.h"

#include "core/CKindJson.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/CWalkedDocument.h"
#include "core/GroupIndex.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>

#include <algorithm>
#include <array>
#include <future>
#include <optional>

namespace {
using Difference = CDocumentDiff::Difference;
using Fields = QMap<QString, QString>;

const QString kNone = QStringLiteral("(none)");

bool isHash(const QString& path) { return path.endsWith(QLatin1String("Sha1"), Qt::CaseInsensitive); }

QString shown(const QString& path, const QJsonValue& value)
{
    if (value.isString()) {
        const QString text = value.toString();
        // A hash tells whether two blobs are the same; a few digits say it.
        if (isHash(path))
            return text.left(12);
        return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).chopped(1).mid(1));
    }
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

bool allScalars(const QJsonArray& array)
{
    for (const QJsonValue& v : array)
        if (v.isArray() || v.isObject())
            return false;
    return true;
}

// Every scalar of a value under its path. With `packScalarArrays` a list of
// plain values (a map column) stays on one line, as the text form wants.
void flatten(const QJsonValue& value, const QString& path, bool packScalarArrays, Fields& out)
{
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            flatten(it.value(), path.isEmpty() ? it.key() : path + QLatin1Char('.') + it.key(), packScalarArrays, out);
        return;
    }
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        if (array.isEmpty() || (packScalarArrays && allScalars(array))) {
            out.insert(path, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
            return;
        }
        for (qsizetype i = 0; i < array.size(); ++i)
            flatten(array[i], QStringLiteral("%1[%2]").arg(path).arg(i), packScalarArrays, out);
        return;
    }
    out.insert(path, shown(path, value));
}

Fields fieldsOf(const QJsonObject& item, bool packScalarArrays)
{
    Fields out;
    flatten(item, QString(), packScalarArrays, out);
    return out;
}

std::vector<CDocumentDiff::FieldChange> changes(const Fields& a, const Fields& b)
{
    std::vector<CDocumentDiff::FieldChange> out;
    for (auto it = a.begin(); it != a.end(); ++it) {
        const auto there = b.find(it.key());
        if (there == b.end())
            out.push_back({it.key(), it.value(), kNone});
        else if (there.value() != it.value())
            out.push_back({it.key(), it.value(), there.value()});
    }
    for (auto it = b.begin(); it != b.end(); ++it)
        if (!a.contains(it.key()))
            out.push_back({it.key(), kNone, it.value()});
    return out;
}

// Records compared by digest first: on large documents most items are the
// same, and only those that differ are worked out field by field. Each
// document's digests are worked out on a thread of its own.
using Digests = std::array<std::vector<std::uint64_t>, kGroupCount>;

// What the comparison asks of one document: a loaded one, or one walked
// item by item from its file, whose items are loaded only to be described.
class DiffSide {
public:
    virtual ~DiffSide() = default;
    virtual QStringList keys(int group) const = 0;
    virtual Digests digests() const = 0;
    // Null when the item does not read.
    virtual std::optional<QJsonObject> describe(int group, int row) const = 0;
};

class HolderSide : public DiffSide {
public:
    explicit HolderSide(const CResourceHolder& holder) : m_holder(holder) {}
    QStringList keys(int group) const override { return CDocumentDiff::itemKeys(m_holder, group); }
    Digests digests() const override
    {
        Digests digests;
        for (int g = 0; g < kGroupCount; ++g)
            for (int i = 0; i < m_holder.count(g); ++i)
                digests[std::size_t(g)].push_back(recordDigest(*m_holder.get(g, i)));
        return digests;
    }
    std::optional<QJsonObject> describe(int group, int row) const override
    {
        return CDocumentJson::describeItem(group, *m_holder.get(group, row));
    }

private:
    const CResourceHolder& m_holder;
};

class WalkedSide : public DiffSide {
public:
    WalkedSide(const CWalkedDocument& document, const CResourceHolder& prototypes)
        : m_document(document), m_prototypes(prototypes)
    {
    }
    QStringList keys(int group) const override { return CDocumentDiff::itemKeys(m_document, group); }
    Digests digests() const override
    {
        Digests digests;
        for (int g = 0; g < kGroupCount; ++g)
            for (int i = 0; i < m_document.count(g); ++i)
                digests[std::size_t(g)].push_back(m_document.row(g, i).digest);
        return digests;
    }
    std::optional<QJsonObject> describe(int group, int row) const override
    {
        const std::unique_ptr<CResourceItem> item = m_document.load(group, row, m_prototypes.prototype(group));
        if (!item)
            return std::nullopt;
        return CDocumentJson::describeItem(group, *item);
    }

private:
    const CWalkedDocument& m_document;
    const CResourceHolder& m_prototypes;
};

bool compareGroup(int g, const DiffSide& first, const DiffSide& second, const Digests& firstDigests,
                  const Digests& secondDigests, std::vector<Difference>& all)
{
    const QString group = QString::fromLatin1(kGroupKeys[std::size_t(g)].data());
    std::vector<Difference> out;
    const QStringList a = first.keys(g);
    const QStringList b = second.keys(g);
    QHash<QString, int> rowInSecond;
    for (int row = 0; row < b.size(); ++row)
        rowInSecond.insert(b[row], row);
    QHash<QString, bool> matched;
    for (int row = 0; row < a.size(); ++row) {
        const QString id = CDocumentDiff::idOfKey(a[row]);
        const auto there = rowInSecond.find(a[row]);
        if (there == rowInSecond.end()) {
            out.push_back({Difference::Kind::Removed, group, id, row, -1, {}});
            continue;
        }
        matched.insert(a[row], true);
        std::vector<CDocumentDiff::FieldChange> fields;
        if (firstDigests[std::size_t(g)][std::size_t(row)] != secondDigests[std::size_t(g)][std::size_t(there.value())]) {
            // Both sides at once: describing a picture or a file hashes it.
            std::future<std::optional<QJsonObject>> later =
                std::async(std::launch::async, [&, r = there.value()] { return second.describe(g, r); });
            const std::optional<QJsonObject> before = first.describe(g, row), after = later.get();
            if (!before || !after)
                return false;
            fields = changes(fieldsOf(*before, false), fieldsOf(*after, false));
        }
        if (!fields.empty())
            out.push_back({Difference::Kind::Changed, group, id, row, there.value(), std::move(fields)});
        else if (row != there.value())
            out.push_back({Difference::Kind::Moved, group, id, row, there.value(), {}});
    }
    for (int row = 0; row < b.size(); ++row)
        if (!matched.contains(b[row]))
            out.push_back({Difference::Kind::Added, group, CDocumentDiff::idOfKey(b[row]), -1, row, {}});
    // In the order of the rows: those removed where they were, the others
    // where they are now.
    std::stable_sort(out.begin(), out.end(), [](const Difference& x, const Difference& y) {
        return (x.after >= 0 ? x.after : x.before) < (y.after >= 0 ? y.after : y.before);
    });
    all.insert(all.end(), out.begin(), out.end());
    return true;
}

std::optional<std::vector<Difference>> compareSides(const std::string& firstId, const std::string& firstComments,
                                                    const DiffSide& first, const std::string& secondId,
                                                    const std::string& secondComments, const DiffSide& second)
{
    std::vector<Difference> out;
    QJsonObject ownA, ownB;
    ownA.insert(QStringLiteral("id"), fromBytes(firstId));
    ownA.insert(QStringLiteral("comments"), fromBytes(firstComments));
    ownB.insert(QStringLiteral("id"), fromBytes(secondId));
    ownB.insert(QStringLiteral("comments"), fromBytes(secondComments));
    if (std::vector<CDocumentDiff::FieldChange> fields = changes(fieldsOf(ownA, false), fieldsOf(ownB, false));
        !fields.empty())
        out.push_back({Difference::Kind::Changed, QStringLiteral("document"), QString(), -1, -1, std::move(fields)});
    std::future<Digests> secondDigests = std::async(std::launch::async, [&second] { return second.digests(); });
    const Digests firstDigests = first.digests();
    const Digests otherDigests = secondDigests.get();
    for (int g = 0; g < kGroupCount; ++g)
        if (!compareGroup(g, first, second, firstDigests, otherDigests, out))
            return std::nullopt;
    return out;
}

QString quoted(const QString& id) { return shown(QString(), QJsonValue(id)); }

const char* kindName(Difference::Kind kind)
{
    switch (kind) {
    case Difference::Kind::Added: return "added";
    case Difference::Kind::Removed: return "removed";
    case Difference::Kind::Moved: return "moved";
    case Difference::Kind::Changed: return "changed";
    }
    return "";
}
} // namespace

namespace {
template <typename IdAt>
QStringList keysOf(int count, IdAt idAt)
{
    QStringList keys;
    QHash<QString, int> seen;
    for (int row = 0; row < count; ++row) {
        const QString id = fromBytes(idAt(row));
        keys << id + QLatin1Char('\n') + QString::number(seen[id]++);
    }
    return keys;
}
} // namespace

QStringList CDocumentDiff::itemKeys(const CResourceHolder& holder, int group)
{
    return keysOf(holder.count(group), [&](int row) -> const std::string& { return holder.get(group, row)->id(); });
}

QStringList CDocumentDiff::itemKeys(const CWalkedDocument& document, int group)
{
    return keysOf(document.count(group), [&](int row) -> const std::string& { return document.row(group, row).id; });
}

QString CDocumentDiff::idOfKey(const QString& key) { return key.section(QLatin1Char('\n'), 0, 0); }

QMap<QString, QString> CDocumentDiff::flatFields(const QJsonObject& item) { return fieldsOf(item, false); }

std::vector<Difference> CDocumentDiff::compare(const CResourceHolder& first, const CResourceHolder& second)
{
    // Loaded items always describe themselves.
    return *compareSides(first.id(), first.comments(), HolderSide(first), second.id(), second.comments(),
                         HolderSide(second));
}

std::optional<std::vector<Difference>> CDocumentDiff::compare(const CWalkedDocument& first, const CWalkedDocument& second)
{
    const auto prototypes = createDocumentHolder();
    return compareSides(first.id(), first.comments(), WalkedSide(first, *prototypes), second.id(), second.comments(),
                        WalkedSide(second, *prototypes));
}

QStringList CDocumentDiff::describe(const std::vector<Difference>& differences)
{
    QStringList lines;
    for (const Difference& d : differences) {
        const QString item = QStringLiteral("%1 %2").arg(d.group, quoted(d.id));
        switch (d.kind) {
        case Difference::Kind::Added: lines << QStringLiteral("+ %1 added at row %2").arg(item).arg(d.after); break;
        case Difference::Kind::Removed: lines << QStringLiteral("- %1 removed from row %2").arg(item).arg(d.before); break;
        case Difference::Kind::Moved:
            lines << QStringLiteral("~ %1 moved from row %2 to %3").arg(item).arg(d.before).arg(d.after);
            break;
        case Difference::Kind::Changed:
            if (d.group == QLatin1String("document"))
                lines << QStringLiteral("* document");
            else if (d.before == d.after)
                lines << QStringLiteral("* %1 changed at row %2").arg(item).arg(d.after);
            else
                lines << QStringLiteral("* %1 changed, moved from row %2 to %3").arg(item).arg(d.before).arg(d.after);
            for (const FieldChange& f : d.fields)
                lines << QStringLiteral("    %1: %2 -> %3").arg(f.path, f.before, f.after);
            break;
        }
    }
    return lines;
}

QJsonObject CDocumentDiff::toJson(const std::vector<Difference>& differences)
{
    QJsonArray list;
    for (const Difference& d : differences) {
        QJsonObject entry{{QStringLiteral("kind"), QLatin1String(kindName(d.kind))},
                          {QStringLiteral("group"), d.group},
                          {QStringLiteral("id"), d.id},
                          {QStringLiteral("rowBefore"), d.before},
                          {QStringLiteral("rowAfter"), d.after}};
        QJsonArray fields;
        for (const FieldChange& f : d.fields)
            fields.append(QJsonObject{{QStringLiteral("field"), f.path},
                                      {QStringLiteral("before"), f.before},
                                      {QStringLiteral("after"), f.after}});
        if (!fields.isEmpty())
            entry.insert(QStringLiteral("fields"), fields);
        list.append(entry);
    }
    return QJsonObject{{QStringLiteral("equal"), differences.empty()}, {QStringLiteral("differences"), list}};
}

QStringList CDocumentDiff::textForm(const QJsonObject& document)
{
    QStringList lines;
    lines << QStringLiteral("id: %1").arg(shown(QString(), document.value(QStringLiteral("id"))));
    lines << QStringLiteral("comments: %1").arg(shown(QString(), document.value(QStringLiteral("comments"))));
    const QJsonObject groups = document.value(QStringLiteral("groups")).toObject();
    for (std::string_view name : kGroupKeys) {
        const QString group = QString::fromLatin1(name.data(), qsizetype(name.size()));
        const QJsonArray items = groups.value(group).toArray();
        for (qsizetype row = 0; row < items.size(); ++row) {
            const QJsonObject item = items[row].toObject();
            lines << QStringLiteral("[%1 %2] %3").arg(group).arg(row).arg(quoted(item.value(QStringLiteral("id")).toString()));
            const Fields fields = fieldsOf(item, true);
            for (auto it = fields.begin(); it != fields.end(); ++it)
                if (it.key() != QLatin1String("id"))
                    lines << QStringLiteral("  %1: %2").arg(it.key(), it.value());
        }
    }
    return lines;
}
