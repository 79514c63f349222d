#include "kinds/CDocumentJson.h"

#include "core/GroupIndex.h"
#include "kinds/binaryfiles/BinaryFileJson.h"
#include "kinds/colors/ColorJson.h"
#include "kinds/texts/TextJson.h"
#include "kinds/trajectories/TrajectoryJson.h"
#include "kinds/userinterfaces/UserInterfaceJson.h"

const CKindJson* kindJson(int group)
{
    static const TextJson texts;
    static const ColorJson colors;
    static const BinaryFileJson binaryFiles;
    static const TrajectoryJson trajectories;
    static const UserInterfaceJson userInterfaces;
    switch (group) {
    case GroupTexts: return &texts;
    case GroupColors: return &colors;
    case GroupBinaryFiles: return &binaryFiles;
    case GroupTrajectories: return &trajectories;
    case GroupUserInterfaces: return &userInterfaces;
    default: return nullptr;
    }
}
