#include "kinds/texts/CTextReferenceExpander.h"

#include "core/CResourceGroup.h"
#include "core/CResourceItem.h"

const std::string* CGroupTexts::textOf(const std::string& id) const
{
    const CResourceItem* item = m_texts.get(m_texts.findById(id));
    if (!item)
        return nullptr;
    // An item that holds no text still answers to its ID, as an empty text.
    static const std::string empty;
    const std::string* text = item->parameterText();
    return text ? text : &empty;
}
