#include "kinds/worlds/CWorldGroupEditing.h"

#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"

int CWorldGroupEditing::insert(CResourceHolder& document)
{
    return document.newItem(GroupWorlds, kNewId);
}

int CWorldGroupEditing::remove(CResourceHolder& document, int row)
{
    if (!document.remove(GroupWorlds, row))
        return 0;
    document.renumberReferences(GroupWorlds, CIndexChange::removed(row, document.count(GroupWorlds)));
    return 1;
}

int CWorldGroupEditing::move(CResourceHolder& document, int from, int to)
{
    if (!document.move(GroupWorlds, from, to))
        return 0;
    document.renumberReferences(GroupWorlds, CIndexChange::moved(from, to));
    return 1;
}

int CWorldGroupEditing::swap(CResourceHolder& document, int a, int b)
{
    if (!document.swap(GroupWorlds, a, b))
        return 0;
    document.renumberReferences(GroupWorlds, CIndexChange::swapped(a, b));
    return 1;
}

int CWorldGroupEditing::rearrange(CResourceHolder& document, const std::vector<int>& order)
{
    return document.rearrange(GroupWorlds, order, true);
}
