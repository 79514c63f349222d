#include "core/CResourceItem.h"

#include "core/CResourceGroup.h"
#include "core/CSectionCoder.h"

std::unique_ptr<CResourceItem> CResourceItem::createDefault() const
{
    return std::make_unique<CResourceItem>();
}

int CResourceItem::createInGroup(CResourceGroup& group) const
{
    return group.add(createDefault());
}

void CResourceItem::renumberReferences(int, const CIndexChange&) {}

int CResourceItem::serialize(CArchive& ar, CSectionCoder& coder)
{
    // Three reserved words, the middle one the record version; ignored on reading.
    std::int32_t reserved = 0;
    std::int32_t version = 1;
    std::int32_t reserved2 = 0;
    coder.codeInt(ar, reserved);
    coder.codeInt(ar, version);
    coder.codeInt(ar, reserved2);
    coder.codeString(ar, m_id);
    coder.codeString(ar, m_comments);
    return 1;
}
