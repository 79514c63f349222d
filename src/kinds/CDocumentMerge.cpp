#include "kinds/CDocumentMerge.h"

#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CItemKinds.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {
enum class Side { Ours, Theirs };

struct Row {
    QString key;  // "id\noccurrence"
    QString id;
    QByteArray record;
};

std::vector<Row> rowsOf(CResourceHolder& holder, int group)
{
    std::vector<Row> rows;
    QHash<QString, int> seen;
    for (int i = 0; i < holder.count(group); ++i) {
        CResourceItem& item = *holder.get(group, i);
        const QString id = QString::fromStdString(item.id());
        rows.push_back({id + QLatin1Char('\n') + QString::number(seen[id]++), id, storeRecord(item)});
    }
    return rows;
}

// Rows by key, so that a group of thousands of items is matched in one pass
// rather than one scan per row.
class RowIndex {
public:
    explicit RowIndex(const std::vector<Row>& rows)
    {
        for (std::size_t i = 0; i < rows.size(); ++i)
            m_rows.insert(rows[i].key, int(i));
    }
    std::optional<int> operator()(const QString& key) const
    {
        const auto found = m_rows.find(key);
        return found == m_rows.end() ? std::nullopt : std::optional<int>(found.value());
    }

private:
    QHash<QString, int> m_rows;
};

// One row of the result: where its record comes from.
struct Taken {
    Side side;
    int row;  // in that side's group
};

QString groupName(int g) { return QString::fromLatin1(kGroupKeys[std::size_t(g)].data()); }

// The rows of one group in the result, or conflicts.
std::vector<Taken> mergeGroup(int g, const std::vector<Row>& base, const std::vector<Row>& ours,
                              const std::vector<Row>& theirs, QStringList& conflicts)
{
    std::vector<Taken> out;
    const RowIndex inBase(base), inOurs(ours), inTheirs(theirs);
    const auto conflict = [&](const Row& row, const char* why) {
        conflicts << QStringLiteral("%1 \"%2\": %3").arg(groupName(g), row.id, QLatin1String(why));
    };
    // Our rows in our order, each with the version the merge keeps.
    for (std::size_t o = 0; o < ours.size(); ++o) {
        const Row& mine = ours[o];
        const std::optional<int> b = inBase(mine.key);
        const std::optional<int> t = inTheirs(mine.key);
        if (!b) {
            if (t && theirs[std::size_t(*t)].record != mine.record)
                conflict(mine, "added on both sides, differently");
            out.push_back({Side::Ours, int(o)});
            continue;
        }
        const bool oursChanged = mine.record != base[std::size_t(*b)].record;
        if (!t) {
            if (oursChanged)
                conflict(mine, "changed here and deleted there");
            continue;  // deleted there
        }
        const bool theirsChanged = theirs[std::size_t(*t)].record != base[std::size_t(*b)].record;
        if (oursChanged && theirsChanged && mine.record != theirs[std::size_t(*t)].record)
            conflict(mine, "changed on both sides");
        out.push_back(theirsChanged && !oursChanged ? Taken{Side::Theirs, *t} : Taken{Side::Ours, int(o)});
    }
    // Rows we deleted that they changed.
    for (const Row& row : base)
        if (!inOurs(row.key))
            if (const std::optional<int> t = inTheirs(row.key); t && theirs[std::size_t(*t)].record != row.record)
                conflict(row, "deleted here and changed there");
    // Their new rows, after the row that preceded them on their side.
    for (std::size_t t = 0; t < theirs.size(); ++t) {
        if (inBase(theirs[t].key) || inOurs(theirs[t].key))
            continue;
        std::size_t at = 0;
        for (std::size_t before = t; before-- > 0;) {
            const auto placed = std::find_if(out.begin(), out.end(), [&](const Taken& k) {
                const std::vector<Row>& side = k.side == Side::Ours ? ours : theirs;
                return side[std::size_t(k.row)].key == theirs[before].key;
            });
            if (placed != out.end()) {
                at = std::size_t(placed - out.begin()) + 1;
                break;
            }
        }
        out.insert(out.begin() + std::ptrdiff_t(at), Taken{Side::Theirs, int(t)});
    }
    return out;
}

QString mergedText(const std::string& base, const std::string& ours, const std::string& theirs, const char* field,
                   QStringList& conflicts)
{
    if (ours != base && theirs != base && ours != theirs)
        conflicts << QStringLiteral("document %1: changed on both sides").arg(QLatin1String(field));
    return QString::fromStdString(ours == base ? theirs : ours);
}
} // namespace

CDocumentMerge::Result CDocumentMerge::merge(CResourceHolder& base, CResourceHolder& ours, CResourceHolder& theirs)
{
    Result result;
    std::array<std::vector<Taken>, kGroupCount> layout;
    std::array<std::vector<Row>, kGroupCount> oursRows, theirsRows;
    for (int g = 0; g < kGroupCount; ++g) {
        oursRows[std::size_t(g)] = rowsOf(ours, g);
        theirsRows[std::size_t(g)] = rowsOf(theirs, g);
        layout[std::size_t(g)] = mergeGroup(g, rowsOf(base, g), oursRows[std::size_t(g)], theirsRows[std::size_t(g)],
                                            result.conflicts);
    }
    const QString id = mergedText(base.id(), ours.id(), theirs.id(), "ID", result.conflicts);
    const QString comments = mergedText(base.comments(), ours.comments(), theirs.comments(), "Comments", result.conflicts);
    if (!result.conflicts.isEmpty())
        return result;

    // Where each side's rows land, per group, for the references.
    std::array<std::vector<int>, kGroupCount> oursToMerged, theirsToMerged;
    for (int g = 0; g < kGroupCount; ++g) {
        const RowIndex inOurs(oursRows[std::size_t(g)]), inTheirs(theirsRows[std::size_t(g)]);
        oursToMerged[std::size_t(g)].assign(oursRows[std::size_t(g)].size(), -1);
        theirsToMerged[std::size_t(g)].assign(theirsRows[std::size_t(g)].size(), -1);
        const std::vector<Taken>& rows = layout[std::size_t(g)];
        for (std::size_t r = 0; r < rows.size(); ++r) {
            // A row kept from either side is the same item on the other.
            const QString& key = (rows[r].side == Side::Ours ? oursRows : theirsRows)[std::size_t(g)][std::size_t(rows[r].row)].key;
            if (const auto o = inOurs(key))
                oursToMerged[std::size_t(g)][std::size_t(*o)] = int(r);
            if (const auto t = inTheirs(key))
                theirsToMerged[std::size_t(g)][std::size_t(*t)] = int(r);
        }
    }

    auto merged = createDocumentHolder();
    merged->setId(id.toStdString());
    merged->setComments(comments.toStdString());
    for (int g = 0; g < kGroupCount; ++g) {
        for (const Taken& taken : layout[std::size_t(g)]) {
            const auto& side = taken.side == Side::Ours ? oursRows : theirsRows;
            CResourceItem& item = *merged->get(g, merged->newItem(g, ""));
            if (!loadRecord(item, side[std::size_t(g)][std::size_t(taken.row)].record)) {
                result.conflicts << QStringLiteral("%1 \"%2\": the record does not read")
                                        .arg(groupName(g), side[std::size_t(g)][std::size_t(taken.row)].id);
                return result;
            }
            if (!item.refersToItems())
                continue;
            const auto& map = taken.side == Side::Ours ? oursToMerged : theirsToMerged;
            for (int referred = 0; referred < kGroupCount; ++referred)
                item.renumberReferences(referred, CIndexChange::mapped(map[std::size_t(referred)]));
        }
    }
    result.merged = std::move(merged);
    return result;
}
