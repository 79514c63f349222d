#include "kinds/ui/CKindPanels.h"

#include "core/GroupIndex.h"
#include "grid/ui/CItemsGrid.h"
#include "kinds/binaryfiles/ui/CBinaryFilesPanel.h"
#include "kinds/colors/ui/CColorsPanel.h"
#include "kinds/sounds/ui/CSoundsPanel.h"
#include "kinds/texts/ui/CTextsPanel.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "kinds/trajectories/ui/CTrajectoriesPanel.h"
#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"
#include "kinds/worlds/ui/CWorldsPanel.h"

CItemsGrid* createKindPanel(int group)
{
    switch (group) {
    case GroupTexts: return new CTextsPanel;
    case GroupColors: return new CColorsPanel;
    case GroupBinaryFiles: return new CBinaryFilesPanel;
    case GroupSounds: return new CSoundsPanel;
    case GroupBitmaps: return new CBitmapsPanel;
    case GroupAnimations: return new CAnimationsPanel;
    case GroupMaps: return new CMapsPanel;
    case GroupUserInterfaces: return new CUserInterfacesPanel;
    case GroupWorlds: return new CWorldsPanel;
    case GroupTrajectories: return new CTrajectoriesPanel;
    default:
        return new CItemsGrid(group);
    }
}
