#include "kinds/ui/CKindPanels.h"

#include "grid/ui/CItemsGrid.h"

CItemsGrid* createKindPanel(int group)
{
    switch (group) {
    default:
        return new CItemsGrid(group);
    }
}
