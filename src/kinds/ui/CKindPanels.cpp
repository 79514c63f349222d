#include "kinds/ui/CKindPanels.h"

#include "core/GroupIndex.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/binaryfiles/ui/CBinaryFilesPanel.h"
#include "kinds/colors/ui/CColorsPanel.h"
#include "kinds/sounds/ui/CSoundsPanel.h"

CItemsGrid* createKindPanel(int group)
{
    switch (group) {
    case GroupColors: return new CColorsPanel;
    case GroupBinaryFiles: return new CBinaryFilesPanel;
    case GroupSounds: return new CSoundsPanel;
    default:
        return new CItemsGrid(group);
    }
}
