#pragma once

#include <array>
#include <string_view>

namespace quillop {

// The ten resource groups, in file order. The index is also the order in
// which sections are written and offered to the groups when reading.
enum GroupIndex : int {
    GroupTexts = 0,
    GroupBitmaps = 1,
    GroupSounds = 2,
    GroupAnimations = 3,
    GroupTrajectories = 4,
    GroupMaps = 5,
    GroupColors = 6,
    GroupBinaryFiles = 7,
    GroupUserInterfaces = 8,
    GroupWorlds = 9,
};

inline constexpr int kGroupCount = 10;

inline constexpr std::array<std::string_view, kGroupCount> kGroupTags = {
    "MRVTXT", "MRVBMPG", "MRVWVMR", "MRVIXLS", "MRVTRAJ",
    "MRVMAP", "MRVCOL",  "MRVFIL",  "MRVGUI",  "MRVWORLD",
};

inline constexpr std::array<std::string_view, kGroupCount> kGroupNames = {
    "Texts and Parameters", "Bitmaps", "Music and Sounds", "Animations", "Trajectories and Shapes",
    "Maps", "Colors", "Binary Files", "User Interfaces", "Game Worlds",
};

// The groups' names in manifests and dumps: short, stable, ASCII.
inline constexpr std::array<std::string_view, kGroupCount> kGroupKeys = {
    "texts", "bitmaps", "sounds", "animations", "trajectories",
    "maps", "colors", "binaryFiles", "userInterfaces", "worlds",
};

inline constexpr std::string_view kPrototypeGroupTag = "MVTNOTYPE";

} // namespace quillop
