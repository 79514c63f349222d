#include "kinds/CItemKinds.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/texts/CTextItem.h"

std::unique_ptr<CResourceItem> createKindPrototype(int group)
{
    switch (group) {
    case GroupTexts: return std::make_unique<CTextItem>();
    default:
        return CResourceHolder::plainPrototype(group);
    }
}

std::unique_ptr<CResourceHolder> createDocumentHolder()
{
    return std::make_unique<CResourceHolder>(&createKindPrototype);
}
