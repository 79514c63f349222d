#pragma once

#include "quillop/runtime/CFrameCursor.h"
#include "quillop/runtime/PlayClock.h"
#include "quillop/runtime/Records.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillop {

class CDocument;

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

// A world's own fields, without its elements.
struct WorldHeader {
    static constexpr std::int32_t kTypeSimple = 0;
    static constexpr std::int32_t kTypeSortOffsetsY = 1;

    std::int32_t type = kTypeSimple;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    double playOffset = 0.0;
    double playSpeed = 1.0;
};

// What a trajectory's clock is set up from.
struct PathInfo {
    int pointCount = 0;
    int playMode = 1;
    double playSpeed = 1.0;
};

// The document a world is played from. A world instance asks it again at
// every step and every draw list, by row, and keeps no pointer into it: a
// document edited under a playing world shows the edit, or a missing item,
// never freed memory.
class IWorldSource {
public:
    virtual ~IWorldSource() = default;
    // False when the row names no world.
    virtual bool world(int index, WorldHeader& header) const = 0;
    virtual int elementCount(int world) const = 0;
    // Null when the rows name no element.
    virtual const WorldElementRecord* element(int world, int element) const = 0;
    // Whether the row names an item of that group (bitmaps and maps).
    virtual bool exists(int group, int index) const = 0;
    virtual const IAnimationFrames* animation(int index) const = 0;
    // Only animations of bitmaps (type 1) are drawn in worlds.
    virtual std::int32_t animationType(int index) const = 0;
    // False when the rows name no frame.
    virtual bool animationFrame(int animation, int frame, AnimationFrame& out) const = 0;
    virtual bool trajectory(int index, PathInfo& info) const = 0;
    // The place at a position along the path, the trajectory's offset added.
    virtual TrajectoryPoint trajectoryPlace(int index, double position) const = 0;
};

// An animation record as a frame cursor reads it.
class CRecordFrames : public IAnimationFrames {
public:
    explicit CRecordFrames(const AnimationRecord& record) : m_record(record) {}
    int frameCount() const override { return static_cast<int>(m_record.frames.size()); }
    int playMode() const override { return m_record.playMode; }
    int frameDelay(int i) const override { return m_record.frames[static_cast<std::size_t>(i)].delay; }

private:
    const AnimationRecord& m_record;
};

// A document of the runtime as a world source.
class CDocumentWorldSource : public IWorldSource {
public:
    explicit CDocumentWorldSource(const CDocument& document);
    ~CDocumentWorldSource() override;

    bool world(int index, WorldHeader& header) const override;
    int elementCount(int world) const override;
    const WorldElementRecord* element(int world, int element) const override;
    bool exists(int group, int index) const override;
    const IAnimationFrames* animation(int index) const override;
    std::int32_t animationType(int index) const override;
    bool animationFrame(int animation, int frame, AnimationFrame& out) const override;
    bool trajectory(int index, PathInfo& info) const override;
    TrajectoryPoint trajectoryPlace(int index, double position) const override;

private:
    const CDocument& m_document;
    std::vector<CRecordFrames> m_animations;
};

// The switches, offsets, play offset and speed of a playing world, and what
// an element instance takes over from the worlds around it: elements of
// type 3 hand their own down to the elements they take in.
struct PlaySettings {
    bool show = true;
    bool play = true;
    double offsetX = 0.0;
    double offsetY = 0.0;
    double playOffset = 0.0;
    double playSpeed = 1.0;
};
using ElementInheritance = PlaySettings;

// Shared by the builds of one world instance and every world it contains.
// Files are not checked for cycles when read, and worlds sharing sub-worlds
// multiply the number of instances at each level, so a build skips a world
// already on its way down, stops going deeper than kMaxNesting worlds, and
// makes no more than kMaxInstances element instances in all.
struct WorldBuildContext {
    static constexpr int kMaxNesting = 64;
    static constexpr int kMaxInstances = 100000;

    std::vector<int> path;
    int instancesLeft = kMaxInstances;
};

// One thing to draw, in the order of the list (later on top).
struct DrawItem {
    enum Kind : int { Bitmap = 0, Map = 1 };
    Kind kind = Bitmap;
    // The bitmap row (an element's bitmap or an animation's current frame),
    // or the map row.
    int index = -1;
    // The drawing point: the element's place plus, for an animation, the
    // frame's offsets. A bitmap's top-left corner is this point plus the
    // bitmap's own offsets, truncated; a map's first cell is at this point,
    // every cell stretched to the map's cell size.
    int x = 0;
    int y = 0;
    // The world row and element row the item comes from.
    int world = -1;
    int element = -1;
};

class CWorldInstance;

// One element of a world as it is being played: its trajectory clock, its
// animation cursor (type 1) or the world it plays as one object (type 4).
class CElementInstance {
public:
    explicit CElementInstance(const ElementInheritance& inherited);
    ~CElementInstance();

    CElementInstance(const CElementInstance&) = delete;
    CElementInstance& operator=(const CElementInstance&) = delete;

    const ElementInheritance& inherited() const { return m_inherited; }

    // Takes the element on: selects its animation, builds its sub-world,
    // sets its trajectory clock up, then resets.
    void setElement(const IWorldSource& source, int worldIndex, int elementIndex, WorldBuildContext& context);
    void reset();
    void step(double amount);
    void drawList(int x, int y, std::vector<DrawItem>& out) const;
    // The y the "Sort Offsets Y" worlds order their elements by.
    double currentY() const;
    // drawList, answering currentY too (any value for a hidden element),
    // with the element's place computed once.
    double layout(int x, int y, std::vector<DrawItem>& out) const;

    int worldIndex() const { return m_worldIndex; }
    int elementIndex() const { return m_elementIndex; }
    const WorldElementRecord* element() const;
    const PlayClock* clock() const { return m_hasClock ? &m_clock : nullptr; }
    const CFrameCursor& frameCursor() const { return m_cursor; }
    const CWorldInstance* subWorld() const { return m_subWorld.get(); }

private:
    bool path(PathInfo& info) const;
    int frameOffsetY() const;

    ElementInheritance m_inherited;
    const IWorldSource* m_source = nullptr;
    int m_worldIndex = -1;
    int m_elementIndex = -1;
    bool m_hasClock = false;
    PlayClock m_clock;
    CFrameCursor m_cursor;
    std::unique_ptr<CWorldInstance> m_subWorld;
};

// A world as it is being played: by a game, by the editor's preview, and
// as the worlds that elements of type 4 play as one object. It has its own
// switches, offsets, play offset and speed, and the time elapsed.
class CWorldInstance : public PlaySettings {
public:
    CWorldInstance();
    ~CWorldInstance();

    CWorldInstance(const CWorldInstance&) = delete;
    CWorldInstance& operator=(const CWorldInstance&) = delete;

    // Makes the element instances of the world of that row (elements of type
    // 3 are replaced by the elements of the world they name). 0 when the row
    // names no world, which then plays and draws nothing. The source must
    // outlive the instance.
    int build(const IWorldSource& source, int worldIndex);
    int build(const IWorldSource& source, int worldIndex, WorldBuildContext& context);
    void reset();
    // One game step of length `step` (1.0 for one step of the game's clock).
    void step(double step);
    // What to draw, in order, with the world's drawing point at (dx, dy);
    // appended to `out`.
    void drawList(int dx, int dy, std::vector<DrawItem>& out) const;

    bool header(WorldHeader& header) const;
    int worldIndex() const { return m_worldIndex; }
    double elapsed() const { return m_elapsed; }
    int instanceCount() const { return static_cast<int>(m_instances.size()); }
    const CElementInstance* instance(int i) const;

    // The order the instances are drawn in: the list's, or ascending current
    // y for worlds of the "Sort Offsets Y" type (equal values in list order).
    std::vector<const CElementInstance*> drawingOrder() const;

private:
    void walk(int worldIndex, const ElementInheritance& inherited, WorldBuildContext& context);

    const IWorldSource* m_source = nullptr;
    int m_worldIndex = -1;
    double m_elapsed = 0.0;
    std::vector<std::unique_ptr<CElementInstance>> m_instances;
};

} // namespace quillop
