#pragma once

#include "kinds/worlds/ElementInstance.h"

#include <memory>
#include <vector>

class CResourceHolder;
class GameWorld;
class QPainter;
class QRect;

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

// A world as it is being played: the preview of the elements editor, and
// the worlds that elements of type 4 play as one object. It has its own
// switches, offsets, play offset and speed, and the time elapsed.
class WorldInstance {
public:
    WorldInstance();
    ~WorldInstance();

    WorldInstance(const WorldInstance&) = delete;
    WorldInstance& operator=(const WorldInstance&) = delete;

    bool show = true;
    bool play = true;
    double offsetX = 0.0;
    double offsetY = 0.0;
    double playOffset = 0.0;
    double playSpeed = 1.0;

    // Makes the element instances of the world of that row (elements of type
    // 3 are replaced by the elements of the world they name). 0 when the row
    // names no world, which then plays and draws nothing.
    int build(const CResourceHolder& document, int worldIndex);
    int build(const CResourceHolder& document, int worldIndex, WorldBuildContext& context);
    void reset();
    // One game step of length `step` (1.0 for the view's timer).
    void step(double step);
    // The world with its drawing point at (dx, dy); `clip` is the drawing
    // window's area, which maps draw within.
    void draw(QPainter& painter, int dx, int dy, const QRect& clip) const;

    const GameWorld* world() const;
    int worldIndex() const { return m_worldIndex; }
    double elapsed() const { return m_elapsed; }
    int instanceCount() const { return static_cast<int>(m_instances.size()); }
    const ElementInstance* instance(int i) const;

    // The order the instances are drawn in: the list's, or ascending current
    // y for worlds of the "Sort Offsets Y" type (equal values in list order).
    std::vector<const ElementInstance*> drawingOrder() const;

private:
    void walk(const GameWorld& world, int worldIndex, const ElementInheritance& inherited,
              WorldBuildContext& context);

    const CResourceHolder* m_document = nullptr;
    int m_worldIndex = -1;
    double m_elapsed = 0.0;
    std::vector<std::unique_ptr<ElementInstance>> m_instances;
};
