#include "core/CEditStep.h"

#include "core/CResourceGroup.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/ItemRecordBytes.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

CEditStep::CEditStep() = default;
CEditStep::~CEditStep() = default;

void CEditStep::apply(CResourceHolder& holder, bool forward)
{
    // Rows first in the order they were recorded, undone in reverse; the
    // records are keyed by item, so they may follow in any order.
    if (forward)
        for (const RowsChange& change : m_rows)
            applyRows(holder, change, true);
    else
        for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it)
            applyRows(holder, *it, false);
    applyRecords(holder, forward);
    if (m_header) {
        const Header& to = forward ? m_header->second : m_header->first;
        holder.setId(to.id);
        holder.setComments(to.comments);
    }
}

void CEditStep::applyRows(CResourceHolder& holder, const RowsChange& change, bool forward)
{
    CResourceGroup* group = holder.group(change.group);
    const auto& from = forward ? change.before : change.after;
    const auto& to = forward ? change.after : change.before;
    if (!group || change.first + static_cast<int>(from.size()) > group->count())
        return;
    for (std::size_t k = 0; k < from.size(); ++k)
        if (group->get(change.first + static_cast<int>(k)) != from[k])
            return;

    std::unordered_map<CResourceItem*, std::unique_ptr<CResourceItem>> pool;
    for (auto& item : group->replaceRows(change.first, static_cast<int>(from.size()), {}))
        pool.emplace(item.get(), std::move(item));
    for (auto it = m_outside.begin(); it != m_outside.end();) {
        if (it->first == change.group) {
            pool.emplace(it->second.get(), std::move(it->second));
            it = m_outside.erase(it);
        } else {
            ++it;
        }
    }
    const bool complete = std::all_of(to.begin(), to.end(), [&](CResourceItem* item) { return pool.count(item); });
    const auto& placed = complete ? to : from;
    std::vector<std::unique_ptr<CResourceItem>> rows;
    rows.reserve(placed.size());
    for (CResourceItem* item : placed) {
        auto found = pool.find(item);
        rows.push_back(std::move(found->second));
        pool.erase(found);
    }
    group->replaceRows(change.first, 0, std::move(rows));
    for (auto& [pointer, item] : pool)
        m_outside.emplace_back(change.group, std::move(item));
}

void CEditStep::applyRecords(CResourceHolder& holder, bool forward)
{
    if (m_records.empty())
        return;
    // Only items still in the document or kept here are written to.
    std::unordered_set<const CResourceItem*> live;
    for (const auto& [group, item] : m_outside)
        live.insert(item.get());
    std::unordered_set<int> groups;
    for (const RecordChange& change : m_records)
        if (groups.insert(change.group).second)
            for (int i = 0; i < holder.count(change.group); ++i)
                live.insert(holder.get(change.group, i));
    for (const RecordChange& change : m_records) {
        if (!live.count(change.item))
            continue;
        const QByteArray now = storeRecord(*change.item);
        const QByteArray& from = forward ? change.before : change.after;
        const QByteArray& to = forward ? change.after : change.before;
        if (now.size() != change.head + from.size() + change.tail)
            continue;
        loadRecord(*change.item, now.left(change.head) + to + now.right(change.tail));
    }
}
