#pragma once

#include "quillop/runtime/Records.h"

#include <cstdint>
#include <string>

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
class WorldElement : public quillop::WorldElementRecord {
public:
    // Bytes of the shortest element a file can hold (empty ID and comments).
    static constexpr int kMinimumStoredBytes = 98;

    // "Bitmap", "Animation", "Map", "World Elements", "World Reference";
    // "Unkown" for any other value.
    static const char* objectTypeText(std::int32_t type);
};
