#pragma once

#include "quillop/runtime/Records.h"
#include "quillop/runtime/WorldPlayer.h"

#include <cstdint>
#include <string>

// World object types (what the object index of an element names) are the
// runtime's.
using quillop::refersToWorld;
using quillop::WorldObjectAnimation;
using quillop::WorldObjectBitmap;
using quillop::WorldObjectMap;
using quillop::WorldObjectType;
using quillop::WorldObjectWorldElements;
using quillop::WorldObjectWorldReference;

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
