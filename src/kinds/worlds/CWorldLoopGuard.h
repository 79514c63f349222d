#pragma once

#include <cstdint>
#include <vector>

class CResourceHolder;
class GameWorld;
class IPrompter;

// Keeps the Game Worlds group free of reference cycles: a world may include
// other worlds (element types 3 and 4), diamonds included, but never itself
// through any chain. References to worlds that do not exist are ignored.
//
// The walk remembers the worlds already found to lead to no cycle, so that
// each world and each reference is looked at once: a file with many worlds
// sharing sub-worlds cannot make it take exponential time, and it keeps its
// own stack, so long chains cannot exhaust the thread's.
class CWorldLoopGuard {
public:
    static constexpr const char* kIndexSetToNone =
        "The object's index has been set to none, to avoid creating an infinite loop.";
    static constexpr const char* kIndexRefused = "Cannot set the object index, as it would create an infinite loop.";

    // The world of that row, or nullptr.
    static const GameWorld* world(const CResourceHolder& document, int index);
    static GameWorld* world(CResourceHolder& document, int index);

    // The walk from `worldIndex` with the worlds of `path` already on the
    // way: false when it meets a world twice.
    static bool walk(const CResourceHolder& document, const std::vector<int>& path, int worldIndex);
    // True when the walk from every world of the group succeeds.
    static bool acceptable(const CResourceHolder& document);

    // The edits of the elements grid that can close a cycle. Setting type 3
    // or 4 stores it, then clears the index (to -1) with kIndexSetToNone
    // when the group is no longer acceptable. Setting the index of a type 3
    // or 4 element restores the old index with kIndexRefused when it would
    // close a cycle. Other types and indexes are stored without a check.
    // 1 when the value asked for was kept; 0 when it was undone or the
    // world or element does not exist.
    static int setObjectType(CResourceHolder& document, int worldIndex, int elementIndex, std::int32_t type,
                             IPrompter& prompter);
    static int setObjectIndex(CResourceHolder& document, int worldIndex, int elementIndex, std::int32_t index,
                              IPrompter& prompter);
};
