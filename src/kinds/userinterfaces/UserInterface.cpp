#include "kinds/userinterfaces/UserInterface.h"

#include "core/RowMoves.h"

#include "core/CArchive.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"
#include "quillop/runtime/TypeTexts.h"

#include <algorithm>
#include <array>

std::unique_ptr<CResourceItem> UserInterface::createDefault() const
{
    return std::make_unique<UserInterface>(m_pictureSource);
}

std::string UserInterface::typeText(std::int32_t type)
{
    return quillop::interfaceTypeText(type);
}

std::vector<std::string> UserInterface::typeTexts()
{
    std::vector<std::string> texts;
    for (int type = 0; type < kTypeCount; ++type)
        texts.push_back(quillop::interfaceTypeText(type));
    return texts;
}

const UserInterface* UserInterface::find(const CResourceHolder& holder, const std::string& id)
{
    return dynamic_cast<const UserInterface*>(holder.findItem(GroupUserInterfaces, id));
}

int UserInterface::pictureIndex(const std::string& bitmapId) const
{
    if (bitmapId.empty() || !m_pictureSource)
        return -1;
    return m_pictureSource->findById(GroupBitmaps, bitmapId);
}

UserInterfaceItem* UserInterface::item(int i) const
{
    return validItem(i) ? m_items[static_cast<std::size_t>(i)].get() : nullptr;
}

int UserInterface::insertItem(int at, const std::string& id)
{
    if (at < 0 || at > itemCount())
        return -1;
    auto entry = std::make_unique<UserInterfaceItem>();
    entry->id = id;
    m_items.insert(m_items.begin() + at, std::move(entry));
    return at;
}

int UserInterface::removeItem(int i)
{
    return removeRow(m_items, i);
}

int UserInterface::moveItem(int from, int to)
{
    return moveRow(m_items, from, to);
}

int UserInterface::swapItems(int i, int j)
{
    return swapRows(m_items, i, j);
}

int UserInterface::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    coder.codeRecordHeader(ar);
    coder.codeInt(ar, m_type);

    if (!ar.isLoading()) {
        std::int32_t count = itemCount();
        coder.codeInt(ar, count);
        for (auto& entry : m_items)
            entry->code(ar, coder);
        return 1;
    }

    clearItems();
    std::int32_t count = 0;
    coder.codeInt(ar, count);
    if (count <= 0)
        return 1;
    ar.requireRemaining(std::int64_t(count) * UserInterfaceItem::kMinimumStoredBytes);
    m_items.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        auto entry = std::make_unique<UserInterfaceItem>();
        entry->code(ar, coder);
        m_items.push_back(std::move(entry));
    }
    return 1;
}
