#pragma once

#include <cstdint>
#include <string>

class CArchive;
class CSectionCoder;

// World object types: what the object index of an element names.
enum WorldObjectType : std::int32_t {
    WorldObjectBitmap = 0,
    WorldObjectAnimation = 1,
    WorldObjectMap = 2,
    // The named world's elements are taken in at this place, one by one.
    WorldObjectWorldElements = 3,
    // The named world is played as one object with a time of its own.
    WorldObjectWorldReference = 4,
};

// Types 3 and 4 name a world of the same group.
inline bool refersToWorld(std::int32_t type)
{
    return type == WorldObjectWorldElements || type == WorldObjectWorldReference;
}

// One placed object of a game world: an object of another group (or another
// world) at an offset, optionally moving along a trajectory, with its own
// show and play switches, play offsets and speeds. Elements belong to their
// world and have no index outside it, so nothing refers to them.
class WorldElement {
public:
    // Bytes of the shortest element a file can hold (empty ID and comments).
    static constexpr int kMinimumStoredBytes = 98;

    // "Bitmap", "Animation", "Map", "World Elements", "World Reference";
    // "Unkown" for any other value.
    static const char* objectTypeText(std::int32_t type);

    int serialize(CArchive& ar, CSectionCoder& coder);

    std::string id;
    std::string comments;
    bool show = true;
    bool play = true;
    double offsetX = 0.0;
    double offsetY = 0.0;
    std::int32_t objectType = WorldObjectBitmap;
    std::int32_t objectIndex = -1;
    double objectPlayOffset = 0.0;
    double objectPlaySpeed = 1.0;
    std::int32_t trajectoryIndex = -1;
    double trajectoryPlayOffset = 0.0;
    double trajectoryPlaySpeed = 1.0;
    double playOffset = 0.0;
    double playSpeed = 1.0;
};
