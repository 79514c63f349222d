#include "kinds/texts/CTextItem.h"

#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"
#include "kinds/texts/CTextReferenceExpander.h"

std::unique_ptr<CResourceItem> CTextItem::createDefault() const
{
    return std::make_unique<CTextItem>();
}

int CTextItem::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    coder.codeRecordHeader(ar);
    coder.codeInt(ar, m_reserved);
    return coder.codeString(ar, m_text);
}

std::string CTextItem::expandReferences(const CResourceGroup& texts) const
{
    return CTextReferenceExpander(texts).expand(m_text);
}

int CTextItem::findText(const CResourceHolder& holder, const std::string& id)
{
    return holder.findById(GroupTexts, id);
}

const std::string* CTextItem::textAt(const CResourceHolder& holder, int index)
{
    const CResourceItem* item = holder.get(GroupTexts, index);
    return item ? item->parameterText() : nullptr;
}
