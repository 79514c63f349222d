#include "core/CEditRecorder.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/ItemRecordBytes.h"

#include <algorithm>
#include <unordered_set>

namespace {
std::vector<CResourceItem*> rowsOf(const CResourceHolder& holder, int group)
{
    std::vector<CResourceItem*> rows(static_cast<std::size_t>(holder.count(group)));
    for (int i = 0; i < holder.count(group); ++i)
        rows[static_cast<std::size_t>(i)] = holder.get(group, i);
    return rows;
}

// The stretch where two row lists differ, common ends trimmed.
CEditStep::RowsChange differingRows(int group, const std::vector<CResourceItem*>& before,
                                    const std::vector<CResourceItem*>& after)
{
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    CEditStep::RowsChange change;
    change.group = group;
    change.first = static_cast<int>(head);
    change.before.assign(before.begin() + static_cast<std::ptrdiff_t>(head),
                         before.end() - static_cast<std::ptrdiff_t>(tail));
    change.after.assign(after.begin() + static_cast<std::ptrdiff_t>(head),
                        after.end() - static_cast<std::ptrdiff_t>(tail));
    return change;
}
// The stretch where two records differ, common ends trimmed.
CEditStep::RecordChange differingBytes(const QByteArray& before, const QByteArray& after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    CEditStep::RecordChange change;
    change.head = head;
    change.tail = tail;
    change.before = before.mid(head, before.size() - head - tail);
    change.after = after.mid(head, after.size() - head - tail);
    return change;
}
} // namespace

CEditRecorder::CEditRecorder(CResourceHolder& holder) : m_holder(holder)
{
    for (int g = 0; g < kGroupCount; ++g)
        m_rows[static_cast<std::size_t>(g)] = rowsOf(holder, g);
    m_holder.setEditRecorder(this);
}

CEditRecorder::~CEditRecorder()
{
    if (m_attached && m_holder.editRecorder() == this)
        m_holder.setEditRecorder(nullptr);
}

void CEditRecorder::touchRow(int group, int row)
{
    if (CResourceItem* item = m_holder.get(group, row))
        touchItem(group, item);
}

void CEditRecorder::touchGroup(int group)
{
    for (int i = 0; i < m_holder.count(group); ++i)
        touchRow(group, i);
}

void CEditRecorder::touchItem(int group, CResourceItem* item)
{
    if (!item || m_recorded.count(item))
        return;
    m_recorded.emplace(item, m_records.size());
    m_records.push_back({group, item, storeRecord(*item)});
}

void CEditRecorder::touchHeader()
{
    if (m_headerTouched)
        return;
    m_headerTouched = true;
    m_header = {m_holder.id(), m_holder.comments()};
}

void CEditRecorder::keepRemoved(int group, std::unique_ptr<CResourceItem> item)
{
    if (item)
        m_removed.emplace_back(group, std::move(item));
}

std::unique_ptr<CEditStep> CEditRecorder::finish()
{
    if (m_holder.editRecorder() == this)
        m_holder.setEditRecorder(nullptr);
    m_attached = false;
    auto step = std::make_unique<CEditStep>();
    std::int64_t cost = 0;

    std::unordered_set<const CResourceItem*> wereRows;
    std::unordered_set<const CResourceItem*> added;
    for (int g = 0; g < kGroupCount; ++g) {
        const auto& before = m_rows[static_cast<std::size_t>(g)];
        const auto after = rowsOf(m_holder, g);
        if (before == after)
            continue;
        CEditStep::RowsChange change = differingRows(g, before, after);
        wereRows.insert(change.before.begin(), change.before.end());
        const std::unordered_set<const CResourceItem*> kept(change.before.begin(), change.before.end());
        for (CResourceItem* item : change.after)
            if (!kept.count(item)) {
                added.insert(item);
                cost += recordSize(*item);
            }
        cost += static_cast<std::int64_t>((change.before.size() + change.after.size()) * sizeof(CResourceItem*));
        step->m_rows.push_back(std::move(change));
    }

    // Records of items that were neither in the document before nor kept by
    // the step (added and removed again within the edit) are dropped with them.
    for (Before& was : m_records) {
        if (added.count(was.item))
            continue;
        const bool removed = std::any_of(m_removed.begin(), m_removed.end(),
                                         [&](const auto& entry) { return entry.second.get() == was.item; });
        if (removed && !wereRows.count(was.item))
            continue;
        const QByteArray now = storeRecord(*was.item);
        if (now == was.record)
            continue;
        CEditStep::RecordChange change = differingBytes(was.record, now);
        change.group = was.group;
        change.item = was.item;
        cost += change.before.size() + change.after.size();
        step->m_records.push_back(std::move(change));
        was.record = QByteArray();
    }
    for (auto& [group, item] : m_removed) {
        if (!wereRows.count(item.get()))
            continue;
        cost += recordSize(*item);
        step->m_outside.emplace_back(group, std::move(item));
    }
    m_removed.clear();

    if (m_headerTouched) {
        const CEditStep::Header now{m_holder.id(), m_holder.comments()};
        if (!(now == m_header)) {
            cost += static_cast<std::int64_t>(m_header.id.size() + m_header.comments.size() + now.id.size()
                                              + now.comments.size());
            step->m_header.emplace(m_header, now);
        }
    }
    step->m_cost = cost;
    return step;
}
