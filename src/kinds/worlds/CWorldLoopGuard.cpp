#include "kinds/worlds/CWorldLoopGuard.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "kinds/worlds/GameWorld.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {
enum Visit : std::uint8_t { Unvisited, OnPath, LeadsNowhere };

// Depth-first walk from `start` over world references. Worlds marked
// LeadsNowhere were fully walked before without meeting the path again, so
// walking them once more cannot fail either.
bool explore(const CResourceHolder& document, std::vector<std::uint8_t>& state, int start)
{
    if (state[std::size_t(start)] == OnPath)
        return false;
    if (state[std::size_t(start)] == LeadsNowhere)
        return true;
    // (world, next element to look at)
    std::vector<std::pair<int, int>> stack{{start, 0}};
    state[std::size_t(start)] = OnPath;
    while (!stack.empty()) {
        auto& [index, next] = stack.back();
        const GameWorld* w = CWorldLoopGuard::world(document, index);
        int target = -1;
        while (w && next < w->elementCount()) {
            const WorldElement& e = *w->elementAt(next++);
            if (refersToWorld(e.objectType) && CWorldLoopGuard::world(document, e.objectIndex)) {
                target = e.objectIndex;
                break;
            }
        }
        if (target < 0) {
            state[std::size_t(index)] = LeadsNowhere;
            stack.pop_back();
            continue;
        }
        if (state[std::size_t(target)] == OnPath)
            return false;
        if (state[std::size_t(target)] == Unvisited) {
            state[std::size_t(target)] = OnPath;
            stack.emplace_back(target, 0);
        }
    }
    return true;
}
} // namespace

const GameWorld* CWorldLoopGuard::world(const CResourceHolder& document, int index)
{
    return dynamic_cast<const GameWorld*>(document.get(GroupWorlds, index));
}

GameWorld* CWorldLoopGuard::world(CResourceHolder& document, int index)
{
    return dynamic_cast<GameWorld*>(document.get(GroupWorlds, index));
}

bool CWorldLoopGuard::walk(const CResourceHolder& document, const std::vector<int>& path, int worldIndex)
{
    const int count = document.count(GroupWorlds);
    std::vector<std::uint8_t> state(std::size_t(std::max(count, 0)), Unvisited);
    for (int visited : path) {
        if (visited == worldIndex)
            return false;
        if (visited >= 0 && visited < count)
            state[std::size_t(visited)] = OnPath;
    }
    if (!world(document, worldIndex))
        return true;
    return explore(document, state, worldIndex);
}

bool CWorldLoopGuard::acceptable(const CResourceHolder& document)
{
    const int count = document.count(GroupWorlds);
    std::vector<std::uint8_t> state(std::size_t(std::max(count, 0)), Unvisited);
    for (int i = 0; i < count; ++i)
        if (!explore(document, state, i))
            return false;
    return true;
}

int CWorldLoopGuard::setObjectType(CResourceHolder& document, int worldIndex, int elementIndex, std::int32_t type,
                                   IPrompter& prompter)
{
    GameWorld* w = world(document, worldIndex);
    WorldElement* e = w ? w->elementAt(elementIndex) : nullptr;
    if (!e)
        return 0;
    e->objectType = type;
    if (!refersToWorld(type) || acceptable(document))
        return 1;
    e->objectIndex = -1;
    prompter.tell(kIndexSetToNone, IPrompter::Icon::Exclamation);
    return 0;
}

int CWorldLoopGuard::setObjectIndex(CResourceHolder& document, int worldIndex, int elementIndex, std::int32_t index,
                                    IPrompter& prompter)
{
    GameWorld* w = world(document, worldIndex);
    WorldElement* e = w ? w->elementAt(elementIndex) : nullptr;
    if (!e)
        return 0;
    const std::int32_t old = e->objectIndex;
    e->objectIndex = index;
    if (!refersToWorld(e->objectType) || acceptable(document))
        return 1;
    e->objectIndex = old;
    prompter.tell(kIndexRefused, IPrompter::Icon::Exclamation);
    return 0;
}
