#include "kinds/CItemKinds.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/colors/CColorItem.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/texts/CTextItem.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/worlds/GameWorld.h"

std::unique_ptr<CResourceItem> createKindPrototype(int group)
{
    switch (group) {
    case GroupAnimations: return std::make_unique<CAnimationItem>();
    case GroupBinaryFiles: return std::make_unique<CBinaryFileItem>();
    case GroupBitmaps: return std::make_unique<CBitmapItem>();
    case GroupColors: return std::make_unique<CColorItem>();
    case GroupMaps: return std::make_unique<CMapItem>();
    case GroupTexts: return std::make_unique<CTextItem>();
    case GroupSounds: return std::make_unique<CMVT_WavMemory>();
    case GroupTrajectories: return std::make_unique<Trajectory>();
    case GroupUserInterfaces: return std::make_unique<UserInterface>();
    case GroupWorlds: return std::make_unique<GameWorld>();
    default:
        return CResourceHolder::plainPrototype(group);
    }
}

std::unique_ptr<CResourceHolder> createDocumentHolder()
{
    return std::make_unique<CResourceHolder>(&createKindPrototype);
}
