#include "kinds/CDocumentMerge.h"

#include "core/CArchiveException.h"
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/CWalkedDocument.h"
#include "core/GroupIndex.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CDocumentDiff.h"
#include "kinds/CItemFieldMerge.h"
#include "kinds/CItemKinds.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {
using Layout = std::array<std::vector<int>, kGroupCount>;  // per group, a value per row

QString groupName(int g) { return QString::fromLatin1(kGroupKeys[std::size_t(g)].data()); }

// Every key any side has, numbered once: the rows of all three sides in one
// numbering, so that records that refer to rows compare by what they refer
// to, whichever rows either side added or moved.
struct UnionRows {
    std::array<QHash<QString, int>, kGroupCount> number;
    Layout of[3];  // base, ours, theirs: each row's number
};

// One side of a group: its keys, and a digest of each record with its
// references in the union numbering. Records are compared by digest and
// copied only into the result, so that the pictures and sounds of large
// documents are read once. A side is a loaded document, or one walked from
// its file whose items are loaded only when their records are needed.
struct SideRows {
    const CResourceHolder* holder = nullptr;
    const CWalkedDocument* walked = nullptr;
    const CResourceItem* prototype = nullptr;
    int group = 0;
    QStringList keys;
    std::vector<std::uint64_t> digests;
    std::vector<QByteArray> renumbered;  // for items that refer to rows; empty for the others
    QHash<QString, int> rowOf;
    mutable std::map<int, std::unique_ptr<CResourceItem>> loaded;

    std::optional<int> find(const QString& key) const
    {
        const auto found = rowOf.find(key);
        return found == rowOf.end() ? std::nullopt : std::optional<int>(found.value());
    }
    // A walked record is digested as the file has it; the rare record a load
    // would write back otherwise (an older form) is compared as loaded.
    bool digestedAsStored(int row) const { return walked && renumbered[std::size_t(row)].isNull(); }
    std::uint64_t loadedDigest(int row) const
    {
        return digestedAsStored(row) ? recordDigest(item(row)) : digests[std::size_t(row)];
    }
    bool same(int row, const SideRows& other, int otherRow) const
    {
        if (digests[std::size_t(row)] == other.digests[std::size_t(otherRow)])
            return true;
        if (!digestedAsStored(row) && !other.digestedAsStored(otherRow))
            return false;
        return loadedDigest(row) == other.loadedDigest(otherRow);
    }
    CResourceItem& item(int row) const
    {
        if (holder)
            return *holder->get(group, row);
        std::unique_ptr<CResourceItem>& kept = loaded[row];
        if (!kept)
            kept = walked->load(group, row, *prototype);
        if (!kept)
            throw CArchiveException(CArchiveException::Cause::BadLength, "an item does not read");
        return *kept;
    }
    QByteArray record(int row) const
    {
        const QByteArray& kept = renumbered[std::size_t(row)];
        return kept.isNull() ? storeRecord(item(row)) : kept;
    }
};

// Where a side's documents come from: loaded whole, or walked.
struct SideDocument {
    const CResourceHolder* holder = nullptr;
    const CWalkedDocument* walked = nullptr;
    const CResourceHolder* prototypes = nullptr;

    QStringList keys(int group) const
    {
        return holder ? CDocumentDiff::itemKeys(*holder, group) : CDocumentDiff::itemKeys(*walked, group);
    }
    std::string id() const { return holder ? holder->id() : walked->id(); }
    std::string comments() const { return holder ? holder->comments() : walked->comments(); }
};

// A side's rows with their references put in the union numbering (on a
// copy: the sides' documents are left as they are).
std::array<SideRows, kGroupCount> sideRows(const SideDocument& document, const std::array<QStringList, kGroupCount>& keys,
                                           const Layout& toUnion)
{
    std::array<SideRows, kGroupCount> sides;
    for (int g = 0; g < kGroupCount; ++g) {
        SideRows& side = sides[std::size_t(g)];
        side.holder = document.holder;
        side.walked = document.walked;
        side.prototype = &document.prototypes->prototype(g);
        side.group = g;
        side.keys = keys[std::size_t(g)];
        for (int i = 0; i < side.keys.size(); ++i) {
            side.rowOf.insert(side.keys[i], i);
            // Every item of a walked group is of its kind; a loaded group
            // may hold items of other kinds.
            if (!(side.walked ? side.prototype->refersToItems() : side.item(i).refersToItems())) {
                side.digests.push_back(side.walked ? side.walked->row(g, i).digest : recordDigest(side.item(i)));
                side.renumbered.emplace_back();
                continue;
            }
            CResourceItem& item = side.item(i);
            const std::unique_ptr<CResourceItem> copy = item.createDefault();
            loadRecord(*copy, storeRecord(item));
            for (int referred = 0; referred < kGroupCount; ++referred)
                copy->renumberReferences(referred, CIndexChange::mapped(toUnion[std::size_t(referred)]));
            side.digests.push_back(recordDigest(*copy));
            side.renumbered.push_back(storeRecord(*copy));
        }
    }
    return sides;
}

// An unchanged item of a walked side in the result: its record goes from
// that side's file to the merged one as it stands, never loaded.
class CCopiedRecord : public CResourceItem {
public:
    CCopiedRecord(const SideRows& side, int row) : m_side(side), m_row(row) { setId(side.walked->row(side.group, row).id); }
    std::unique_ptr<CResourceItem> createDefault() const override { return m_side.prototype->createDefault(); }
    int serialize(CArchive& ar, CSectionCoder& coder) override
    {
        if (ar.isLoading())
            return 0;
        m_side.walked->copyRecord(m_side.group, m_row, ar, coder);
        return 1;
    }

private:
    const SideRows& m_side;
    int m_row;
};

// Where a row of the result comes from: a side's row, or a record merged
// field by field.
struct Source {
    const SideRows* side = nullptr;
    int row = -1;
    QByteArray merged;

    QByteArray record() const { return merged.isNull() ? side->record(row) : merged; }
};

// One row of the result, in the union numbering.
struct Placed {
    QString key;
    Source source;
};

// The rows a side kept from the base, as base rows, in that side's order.
std::vector<int> keptBaseRows(const SideRows& side, const SideRows& base)
{
    std::vector<int> rows;
    for (const QString& key : side.keys)
        if (const auto b = base.find(key))
            rows.push_back(*b);
    return rows;
}

class GroupMerge {
public:
    GroupMerge(int group, const CResourceItem& prototype, const SideRows& base, const SideRows& ours,
               const SideRows& theirs, QStringList& conflicts)
        : m_group(group), m_prototype(prototype), m_base(base), m_ours(ours), m_theirs(theirs), m_conflicts(conflicts)
    {
    }

    std::vector<Placed> run()
    {
        // The rows go in the order of the side that reordered them (ours
        // when neither did); each side's new rows go after the row that
        // preceded them there.
        const SideRows* first = &m_ours;
        const SideRows* second = &m_theirs;
        const std::vector<int> oursOrder = commonOrder(m_ours), theirsOrder = commonOrder(m_theirs);
        const bool oursMoved = !std::is_sorted(oursOrder.begin(), oursOrder.end());
        const bool theirsMoved = !std::is_sorted(theirsOrder.begin(), theirsOrder.end());
        if (oursMoved && theirsMoved && oursOrder != theirsOrder)
            m_conflicts << QStringLiteral("%1: rows reordered on both sides, differently").arg(groupName(m_group));
        else if (theirsMoved && !oursMoved)
            std::swap(first, second);

        std::vector<Placed> out;
        for (const QString& key : first->keys)
            if (std::optional<Source> source = kept(key))
                out.push_back({key, *source});
        for (int r = 0; r < second->keys.size(); ++r) {
            const QString& key = second->keys[r];
            if (first->find(key))
                continue;
            if (m_base.find(key)) {
                kept(key);  // deleted on the first side: only its conflicts matter
                continue;
            }
            out.insert(out.begin() + std::ptrdiff_t(placeAfterPredecessor(out, *second, r)), Placed{key, Source{second, r, {}}});
        }
        return out;
    }

private:
    // The base rows every side still holds, in this side's order.
    std::vector<int> commonOrder(const SideRows& side) const
    {
        const SideRows& other = &side == &m_ours ? m_theirs : m_ours;
        std::vector<int> rows;
        for (int b : keptBaseRows(side, m_base))
            if (other.find(m_base.keys[b]))
                rows.push_back(b);
        return rows;
    }

    static std::size_t placeAfterPredecessor(const std::vector<Placed>& out, const SideRows& side, int row)
    {
        for (int before = row; before-- > 0;) {
            const auto placed =
                std::find_if(out.begin(), out.end(), [&](const Placed& p) { return p.key == side.keys[before]; });
            if (placed != out.end())
                return std::size_t(placed - out.begin()) + 1;
        }
        return 0;
    }

    void conflict(const QString& key, const QString& why)
    {
        m_conflicts << QStringLiteral("%1 \"%2\": %3").arg(groupName(m_group), CDocumentDiff::idOfKey(key), why);
    }

    // The version of a row the merge keeps; none when a side deleted it.
    std::optional<Source> kept(const QString& key)
    {
        const std::optional<int> b = m_base.find(key), o = m_ours.find(key), t = m_theirs.find(key);
        if (!b) {
            if (o && t && !m_ours.same(*o, m_theirs, *t))
                conflict(key, QStringLiteral("added on both sides, differently"));
            return o ? Source{&m_ours, *o, {}} : Source{&m_theirs, *t, {}};
        }
        if (!o || !t) {
            if (o && !m_ours.same(*o, m_base, *b))
                conflict(key, QStringLiteral("changed here and deleted there"));
            if (t && !m_theirs.same(*t, m_base, *b))
                conflict(key, QStringLiteral("deleted here and changed there"));
            return std::nullopt;
        }
        if (m_ours.same(*o, m_base, *b) || m_ours.same(*o, m_theirs, *t))
            return Source{&m_theirs, *t, {}};
        if (m_theirs.same(*t, m_base, *b))
            return Source{&m_ours, *o, {}};
        const CItemFieldMerge::Result fields = CItemFieldMerge::merge(m_group, m_prototype, m_base.record(*b),
                                                                      m_ours.record(*o), m_theirs.record(*t));
        for (const QString& clash : fields.clashes)
            conflict(key, QStringLiteral("%1 changed on both sides").arg(clash));
        return fields.record ? Source{nullptr, -1, *fields.record} : Source{&m_ours, *o, {}};
    }

    int m_group;
    const CResourceItem& m_prototype;
    const SideRows& m_base;
    const SideRows& m_ours;
    const SideRows& m_theirs;
    QStringList& m_conflicts;
};

QString mergedText(const std::string& base, const std::string& ours, const std::string& theirs, const char* field,
                   QStringList& conflicts)
{
    if (ours != base && theirs != base && ours != theirs)
        conflicts << QStringLiteral("document %1: changed on both sides").arg(QLatin1String(field));
    return QString::fromStdString(ours == base ? theirs : ours);
}
} // namespace

namespace {
// The sides' rows, kept with the result when its records are copied from
// the sides' files as it is saved.
struct MergeState {
    std::unique_ptr<CResourceHolder> prototypes;
    std::array<SideRows, kGroupCount> sides[3];
};

CDocumentMerge::Result mergeSides(const SideDocument (&documents)[3], MergeState& state)
{
    CDocumentMerge::Result result;
    std::array<QStringList, kGroupCount> keys[3];
    UnionRows rows;
    for (int g = 0; g < kGroupCount; ++g)
        for (int side = 0; side < 3; ++side) {
            keys[side][std::size_t(g)] = documents[side].keys(g);
            QHash<QString, int>& number = rows.number[std::size_t(g)];
            for (const QString& key : keys[side][std::size_t(g)]) {
                if (!number.contains(key))
                    number.insert(key, int(number.size()));
                rows.of[side][std::size_t(g)].push_back(number.value(key));
            }
        }
    std::array<SideRows, kGroupCount>(&sides)[3] = state.sides;
    for (int side = 0; side < 3; ++side)
        sides[side] = sideRows(documents[side], keys[side], rows.of[side]);

    std::array<std::vector<Placed>, kGroupCount> layout;
    for (int g = 0; g < kGroupCount; ++g)
        layout[std::size_t(g)] = GroupMerge(g, documents[1].prototypes->prototype(g), sides[0][std::size_t(g)],
                                            sides[1][std::size_t(g)], sides[2][std::size_t(g)], result.conflicts)
                                     .run();
    const QString id = mergedText(documents[0].id(), documents[1].id(), documents[2].id(), "ID", result.conflicts);
    const QString comments =
        mergedText(documents[0].comments(), documents[1].comments(), documents[2].comments(), "Comments", result.conflicts);
    if (!result.conflicts.isEmpty())
        return result;

    // Where each union number lands in the result, per group.
    Layout toMerged;
    for (int g = 0; g < kGroupCount; ++g) {
        const QHash<QString, int>& number = rows.number[std::size_t(g)];
        toMerged[std::size_t(g)].assign(std::size_t(number.size()), -1);
        const std::vector<Placed>& placed = layout[std::size_t(g)];
        for (std::size_t r = 0; r < placed.size(); ++r)
            toMerged[std::size_t(g)][std::size_t(number.value(placed[r].key))] = int(r);
    }

    auto merged = createDocumentHolder();
    merged->setId(id.toStdString());
    merged->setComments(comments.toStdString());
    for (int g = 0; g < kGroupCount; ++g) {
        for (const Placed& placed : layout[std::size_t(g)]) {
            const Source& source = placed.source;
            if (source.merged.isNull() && source.side->digestedAsStored(source.row)) {
                merged->group(g)->add(std::make_unique<CCopiedRecord>(*source.side, source.row));
                continue;
            }
            CResourceItem& item = *merged->get(g, merged->newItem(g, ""));
            if (!loadRecord(item, source.record())) {
                result.conflicts << QStringLiteral("%1 \"%2\": the record does not read").arg(groupName(g), CDocumentDiff::idOfKey(placed.key));
                return result;
            }
            if (item.refersToItems())
                for (int referred = 0; referred < kGroupCount; ++referred)
                    item.renumberReferences(referred, CIndexChange::mapped(toMerged[std::size_t(referred)]));
        }
    }
    result.merged = std::move(merged);
    return result;
}
} // namespace

CDocumentMerge::Result CDocumentMerge::merge(const CResourceHolder& base, const CResourceHolder& ours,
                                             const CResourceHolder& theirs)
{
    MergeState state;
    const SideDocument documents[3] = {{&base, nullptr, &base}, {&ours, nullptr, &ours}, {&theirs, nullptr, &theirs}};
    return mergeSides(documents, state);
}

std::optional<CDocumentMerge::Result> CDocumentMerge::merge(const CWalkedDocument& base, const CWalkedDocument& ours,
                                                            const CWalkedDocument& theirs)
{
    auto state = std::make_shared<MergeState>();
    state->prototypes = createDocumentHolder();
    const CResourceHolder* prototypes = state->prototypes.get();
    const SideDocument documents[3] = {{nullptr, &base, prototypes}, {nullptr, &ours, prototypes}, {nullptr, &theirs, prototypes}};
    try {
        Result result = mergeSides(documents, *state);
        // The copied records read the sides' rows as the result is saved.
        result.keepAlive = state;
        return result;
    } catch (const CArchiveException&) {
        return std::nullopt;
    }
}
