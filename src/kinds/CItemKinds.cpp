#include "kinds/CItemKinds.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"

std::unique_ptr<CResourceItem> createKindPrototype(int group)
{
    switch (group) {
    default:
        return CResourceHolder::plainPrototype(group);
    }
}

std::unique_ptr<CResourceHolder> createDocumentHolder()
{
    return std::make_unique<CResourceHolder>(&createKindPrototype);
}
