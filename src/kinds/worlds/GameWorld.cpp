#include "kinds/worlds/GameWorld.h"

#include "core/RowMoves.h"

#include "core/CArchive.h"
#include "core/CIndexChange.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "quillop/runtime/TypeTexts.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::int32_t kAnyWorldReference = -2;

// The group an element's object index names; -1 for types outside the table.
int groupOfObjectType(std::int32_t type)
{
    switch (type) {
    case WorldObjectBitmap: return GroupBitmaps;
    case WorldObjectAnimation: return GroupAnimations;
    case WorldObjectMap: return GroupMaps;
    case WorldObjectWorldElements:
    case WorldObjectWorldReference: return GroupWorlds;
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
    return quillop::worldTypeText(type);
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
    coder.codeRecordHeader(ar);
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

void GameWorld::forEachReference(const std::function<bool(const CItemReference&)>& visit) const
{
    for (int e = 0; e < elementCount(); ++e) {
        const WorldElement& element = m_elements[std::size_t(e)];
        const int objectGroup = groupOfObjectType(element.objectType);
        if (objectGroup != -1 && !visit({objectGroup, element.objectIndex, e, 0, "shows"}))
            return;
        if (!visit({GroupTrajectories, element.trajectoryIndex, e, 1, "follows"}))
            return;
    }
}

void GameWorld::setReference(const CItemReference& reference, int index)
{
    WorldElement* element = elementAt(reference.part);
    if (!element)
        return;
    if (reference.subpart == 0)
        element->objectIndex = index;
    else
        element->trajectoryIndex = index;
}

std::string GameWorld::referencePlace(const CItemReference& reference) const
{
    const WorldElement* element = elementAt(reference.part);
    return "Element " + std::to_string(reference.part) + " (\"" + (element ? element->id : std::string()) + "\")";
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
