#pragma once

#include "core/CItemReferences.h"
#include "core/CResourceItem.h"
#include "kinds/worlds/WorldElement.h"

#include <cstdint>
#include <string>
#include <vector>

class CResourceHolder;

// A scene of the Game Worlds group: an ordered list of elements, drawn in
// list order (later elements on top) or, for the "Sort Offsets Y" type, by
// their current y. Worlds may contain other worlds; CWorldLoopGuard keeps
// the group free of cycles as it is edited.
//
// Element operations answer 1 on success and 0 for an index out of range,
// changing nothing then.
class GameWorld : public CResourceItem, public IItemReferences {
public:
    static constexpr std::int32_t kTypeSimple = quillop::WorldHeader::kTypeSimple;
    static constexpr std::int32_t kTypeSortOffsetsY = quillop::WorldHeader::kTypeSortOffsetsY;

    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;
    // Object references follow the Bitmaps (type 0), Animations (1), Maps (2)
    // and Game Worlds (3 and 4) groups; trajectory references follow the
    // Trajectories group whatever the element's type.
    void renumberReferences(int group, const CIndexChange& change) override { followRowChange(group, change); }
    // Each element's object (subpart 0; none for a type outside the
    // table), then its trajectory (subpart 1).
    void forEachReference(const std::function<bool(const CItemReference&)>& visit) const override;
    void setReference(const CItemReference& reference, int index) override;
    std::string referencePlace(const CItemReference& reference) const override;
    bool refersToItems() const override { return true; }

    // "Simple", "Sort Offsets Y"; "Unkown" for any other value.
    static const char* typeText(std::int32_t type);
    // Always empty: neither grid of worlds has anything to say there.
    std::string specsText() const { return {}; }

    std::int32_t worldType() const { return m_type; }
    void setWorldType(std::int32_t type) { m_type = type; }
    std::int32_t offsetX() const { return m_offsetX; }
    std::int32_t offsetY() const { return m_offsetY; }
    void setOffsetX(std::int32_t x) { m_offsetX = x; }
    void setOffsetY(std::int32_t y) { m_offsetY = y; }
    // A factor; the grid shows it as a percentage.
    double playSpeed() const { return m_playSpeed; }
    void setPlaySpeed(double speed) { m_playSpeed = speed; }
    double playOffset() const { return m_playOffset; }
    void setPlayOffset(double offset) { m_playOffset = offset; }

    // --- elements -------------------------------------------------------
    // Appends a new element with that ID; its index.
    int addElement(const std::string& id);
    int elementCount() const { return static_cast<int>(m_elements.size()); }
    bool validElement(int i) const { return i >= 0 && i < elementCount(); }
    WorldElement* elementAt(int i);
    const WorldElement* elementAt(int i) const;
    const std::vector<WorldElement>& elements() const { return m_elements; }
    // Takes the element at `from` out and puts it in at `to`.
    int moveElement(int from, int to);
    int swapElements(int i, int j);
    int removeElement(int i);
    void removeAllElements();

    // Walks the worlds this one includes (types 3 and 4) with `path` the
    // world indexes already on the way: 0 when the walk from `worldIndex`
    // meets a world twice, 1 otherwise. See CWorldLoopGuard.
    int loopCheck(const CResourceHolder& document, const std::vector<int>& path, int worldIndex) const;

    // Reference rewriting in the range and replacement forms: every element
    // concerned whose index lies in low..high (inclusive) gets delta added,
    // or whose index equals `from` becomes `to`. Always 1.
    int shiftWorldReferences(int low, int high, int delta);
    int replaceWorldReference(int from, int to);
    int shiftObjectReferences(std::int32_t objectType, int low, int high, int delta);
    int replaceObjectReference(std::int32_t objectType, int from, int to);
    int shiftTrajectoryReferences(int low, int high, int delta);
    int replaceTrajectoryReference(int from, int to);

private:
    void clearFields();

    std::int32_t m_type = kTypeSimple;
    std::int32_t m_offsetX = 0;
    std::int32_t m_offsetY = 0;
    double m_playSpeed = 1.0;
    double m_playOffset = 0.0;
    std::vector<WorldElement> m_elements;
};
