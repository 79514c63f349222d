#include "core/CResourceGroup.h"

#include "core/RowMoves.h"
#include "core/RowOrder.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"

#include <QIODevice>

#include <algorithm>

CResourceGroup::CResourceGroup(std::string tag) : m_tag(std::move(tag)) {}

CResourceGroup::~CResourceGroup() = default;

void CResourceGroup::clear()
{
    // Front to back, as items may expect their predecessors to go first.
    for (auto& item : m_items)
        item.reset();
    m_items.clear();
    m_items.shrink_to_fit();
}

int CResourceGroup::add(std::unique_ptr<CResourceItem> item)
{
    if (!item)
        return -1;
    m_items.push_back(std::move(item));
    return count() - 1;
}

int CResourceGroup::move(int from, int to)
{
    return moveRow(m_items, from, to);
}

int CResourceGroup::swap(int i, int j)
{
    return swapRows(m_items, i, j);
}

int CResourceGroup::findById(const std::string& id) const
{
    for (int i = 0; i < count(); ++i)
        if (m_items[static_cast<std::size_t>(i)]->id() == id)
            return i;
    return -1;
}

CResourceItem* CResourceGroup::get(int i) const
{
    return valid(i) ? m_items[static_cast<std::size_t>(i)].get() : nullptr;
}

int CResourceGroup::remove(int i)
{
    return removeRow(m_items, i);
}

int CResourceGroup::rearrange(const std::vector<int>& order, std::vector<std::unique_ptr<CResourceItem>>* dropped)
{
    const std::vector<int> target = RowOrder::newRowOfOld(order, count());
    if (target.empty() && !order.empty())
        return 0;
    if (dropped) {
        for (std::size_t old = 0; old < target.size(); ++old)
            if (target[old] < 0)
                dropped->push_back(std::move(m_items[old]));
    }
    // Whatever is left unlisted is destroyed with the old list.
    return RowOrder::rearrange(m_items, order) ? 1 : 0;
}

std::unique_ptr<CResourceItem> CResourceGroup::take(int i)
{
    if (!valid(i))
        return nullptr;
    auto item = std::move(m_items[static_cast<std::size_t>(i)]);
    m_items.erase(m_items.begin() + i);
    return item;
}

std::vector<std::unique_ptr<CResourceItem>> CResourceGroup::replaceRows(
    int first, int count, std::vector<std::unique_ptr<CResourceItem>> rows)
{
    first = std::clamp(first, 0, this->count());
    count = std::clamp(count, 0, this->count() - first);
    const auto begin = m_items.begin() + first;
    std::vector<std::unique_ptr<CResourceItem>> taken(std::make_move_iterator(begin),
                                                      std::make_move_iterator(begin + count));
    m_items.erase(begin, begin + count);
    m_items.insert(m_items.begin() + first, std::make_move_iterator(rows.begin()),
                   std::make_move_iterator(rows.end()));
    return taken;
}

int CResourceGroup::serialize(CArchive& ar, const CResourceItem& prototype)
{
    if (ar.isLoading())
        return read(ar, prototype);
    write(ar);
    return 1;
}

void CResourceGroup::write(CArchive& ar)
{
    if (m_items.empty())
        return;
    CSectionCoder coder;
    coder.prepareForWriting(ar.keySource());
    coder.header(ar);
    std::string tag = m_tag;
    std::int32_t reserved = 0, version = 1, reserved2 = 0;
    std::int32_t n = count();
    coder.codeString(ar, tag);
    coder.codeInt(ar, reserved);
    coder.codeInt(ar, version);
    coder.codeInt(ar, reserved2);
    coder.codeInt(ar, n);
    for (auto& item : m_items)
        item->serialize(ar, coder);
}

int CResourceGroup::read(CArchive& ar, const CResourceItem& prototype)
{
    ar.flush();
    const std::int64_t sectionStart = ar.stream().pos();
    CSectionCoder coder;
    coder.header(ar);
    std::string tag;
    coder.codeString(ar, tag);
    if (tag != m_tag) {
        ar.flush();
        ar.stream().seek(sectionStart);
        return 0;
    }
    clear();
    std::int32_t reserved = 0, version = 0, reserved2 = 0, n = 0;
    coder.codeInt(ar, reserved);
    coder.codeInt(ar, version);
    coder.codeInt(ar, reserved2);
    coder.codeInt(ar, n);
    if (n > 0)
        ar.requireRemaining(std::int64_t(n) * kMinimumItemBytes);
    for (std::int32_t i = 0; i < n; ++i) {
        const int index = prototype.createInGroup(*this);
        if (index < 0)
            throw CArchiveException(CArchiveException::Cause::BadLength, "an item could not be created");
        get(index)->serialize(ar, coder);
    }
    return 1;
}
