#include "kinds/CDocumentJson.h"

#include "core/GroupIndex.h"
#include "kinds/animations/AnimationJson.h"
#include "kinds/binaryfiles/BinaryFileJson.h"
#include "kinds/bitmaps/BitmapJson.h"
#include "kinds/colors/ColorJson.h"
#include "kinds/maps/MapJson.h"
#include "kinds/sounds/SoundJson.h"
#include "kinds/texts/TextJson.h"
#include "kinds/trajectories/TrajectoryJson.h"
#include "kinds/userinterfaces/UserInterfaceJson.h"
#include "kinds/worlds/WorldJson.h"

const CKindJson* kindJson(int group)
{
    static const TextJson texts;
    static const ColorJson colors;
    static const BinaryFileJson binaryFiles;
    static const BitmapJson bitmaps;
    static const TrajectoryJson trajectories;
    static const SoundJson sounds;
    static const UserInterfaceJson userInterfaces;
    static const AnimationJson animations;
    static const MapJson maps;
    static const WorldJson worlds;
    switch (group) {
    case GroupTexts: return &texts;
    case GroupColors: return &colors;
    case GroupBinaryFiles: return &binaryFiles;
    case GroupBitmaps: return &bitmaps;
    case GroupTrajectories: return &trajectories;
    case GroupSounds: return &sounds;
    case GroupUserInterfaces: return &userInterfaces;
    case GroupAnimations: return &animations;
    case GroupMaps: return &maps;
    case GroupWorlds: return &worlds;
    default: return nullptr;
    }
}
