#include "kinds/worlds/GameWorld.h"

#include "core/RowMoves.h"

#include "core/CArchive.h"
#include "core/CIndexChange.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"
#include "kinds/worlds/CWorldLoopGuard.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::int32_t kAnyWorldReference = -2;

// The element object type whose index names a row of `group`; -1 when the
// group's rows are not objects (types 3 and 4 are handled apart).
std::int32_t objectTypeOfGroup(int group)
{
    switch (group) {
    case GroupBitmaps: return WorldObjectBitmap;
    case GroupAnimations: return WorldObjectAnimation;
    case GroupMaps: return WorldObjectMap;
    default: return -1;
    }
}

// World references come in two types that always move together; the other
// object types each name their own group.
bool objectTypeMatches(std::int32_t wanted, std::int32_t type)
{
    return wanted == kAnyWorldReference ? refersToWorld(type) : type == wanted;
}

void shift(std::int32_t& reference, int low, int high, int delta)
{
    if (reference < low || reference > high)
        return;
    const std::int64_t moved = std::int64_t(reference) + delta;
    reference = static_cast<std::int32_t>(std::clamp<std::int64_t>(moved, std::numeric_limits<std::int32_t>::min(),
                                                                    std::numeric_limits<std::int32_t>::max()));
}
} // namespace

std::unique_ptr<CResourceItem> GameWorld::createDefault() const
{
    return std::make_unique<GameWorld>();
}

const char* GameWorld::typeText(std::int32_t type)
{
    switch (type) {
    case kTypeSimple: return "Simple";
    case kTypeSortOffsetsY: return "Sort Offsets Y";
    default: return "Unkown";
    }
}

void GameWorld::clearFields()
{
    m_type = kTypeSimple;
    m_offsetX = 0;
    m_offsetY = 0;
    m_playSpeed = 1.0;
    m_playOffset = 0.0;
    m_elements.clear();
}

int GameWorld::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    if (ar.isLoading())
        clearFields();
    // A leading zero and the record version; both ignored when read.
    std::int32_t zero = 0;
    std::int32_t version = 1;
    coder.codeInt(ar, zero);
    coder.codeInt(ar, version);
    coder.codeInt(ar, m_type);
    coder.codeInt(ar, m_offsetX);
    coder.codeInt(ar, m_offsetY);
    coder.codeDouble(ar, m_playOffset);
    coder.codeDouble(ar, m_playSpeed);
    std::int32_t count = elementCount();
    int ok = coder.codeInt(ar, count);
    if (!ar.isLoading()) {
        for (WorldElement& e : m_elements)
            ok = e.serialize(ar, coder);
        return ok;
    }
    // A negative count reads as no elements; a count the rest of the file
    // cannot hold is refused before anything is allocated.
    count = std::max(count, 0);
    ar.requireRemaining(std::int64_t(count) * WorldElement::kMinimumStoredBytes);
    m_elements.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        WorldElement e;
        ok = e.serialize(ar, coder);
        m_elements.push_back(std::move(e));
    }
    return ok;
}

void GameWorld::renumberReferences(int group, const CIndexChange& change)
{
    if (group == GroupTrajectories) {
        for (WorldElement& e : m_elements)
            change.update(e.trajectoryIndex);
        return;
    }
    const std::int32_t type = group == GroupWorlds ? kAnyWorldReference : objectTypeOfGroup(group);
    if (type == -1)
        return;
    for (WorldElement& e : m_elements)
        if (objectTypeMatches(type, e.objectType))
            change.update(e.objectIndex);
}

int GameWorld::addElement(const std::string& id)
{
    if (m_elements.size() >= std::size_t(std::numeric_limits<std::int32_t>::max()))
        return -1;
    WorldElement e;
    e.id = id;
    m_elements.push_back(std::move(e));
    return elementCount() - 1;
}

WorldElement* GameWorld::elementAt(int i)
{
    return validElement(i) ? &m_elements[static_cast<std::size_t>(i)] : nullptr;
}

const WorldElement* GameWorld::elementAt(int i) const
{
    return validElement(i) ? &m_elements[static_cast<std::size_t>(i)] : nullptr;
}

int GameWorld::moveElement(int from, int to)
{
    return moveRow(m_elements, from, to);
}

int GameWorld::swapElements(int i, int j)
{
    return swapRows(m_elements, i, j);
}

int GameWorld::removeElement(int i)
{
    return removeRow(m_elements, i);
}

void GameWorld::removeAllElements()
{
    m_elements.clear();
}

int GameWorld::loopCheck(const CResourceHolder& document, const std::vector<int>& path, int worldIndex) const
{
    return CWorldLoopGuard::walk(document, path, worldIndex) ? 1 : 0;
}

int GameWorld::shiftWorldReferences(int low, int high, int delta)
{
    return shiftObjectReferences(kAnyWorldReference, low, high, delta);
}

int GameWorld::replaceWorldReference(int from, int to)
{
    return replaceObjectReference(kAnyWorldReference, from, to);
}

int GameWorld::shiftObjectReferences(std::int32_t objectType, int low, int high, int delta)
{
    for (WorldElement& e : m_elements)
        if (objectTypeMatches(objectType, e.objectType))
            shift(e.objectIndex, low, high, delta);
    return 1;
}

int GameWorld::replaceObjectReference(std::int32_t objectType, int from, int to)
{
    for (WorldElement& e : m_elements)
        if (objectTypeMatches(objectType, e.objectType) && e.objectIndex == from)
            e.objectIndex = to;
    return 1;
}

int GameWorld::shiftTrajectoryReferences(int low, int high, int delta)
{
    for (WorldElement& e : m_elements)
        shift(e.trajectoryIndex, low, high, delta);
    return 1;
}

int GameWorld::replaceTrajectoryReference(int from, int to)
{
    for (WorldElement& e : m_elements)
        if (e.trajectoryIndex == from)
            e.trajectoryIndex = to;
    return 1;
}
