#pragma once

#include "kinds/animations/CAnimationCursor.h"
#include "kinds/trajectories/PlayClock.h"

#include <memory>

class CResourceHolder;
class QPainter;
class QRect;
class Trajectory;
class WorldElement;
class WorldInstance;
struct WorldBuildContext;

// What an element instance takes over from the worlds around it: elements
// of type 3 hand their own switches, offsets, play offset and speed down to
// the elements they take in.
struct ElementInheritance {
    bool show = true;
    bool play = true;
    double offsetX = 0.0;
    double offsetY = 0.0;
    double playOffset = 0.0;
    double playSpeed = 1.0;
};

// One element of a world as it is being played: its trajectory clock, its
// animation cursor (type 1) or the world it plays as one object (type 4).
//
// The element itself is looked up in the document by world row and element
// row at every step and drawing, never kept as a pointer: an edit made
// before the preview is rebuilt then shows as a different or missing
// element, never as freed memory.
class ElementInstance {
public:
    explicit ElementInstance(const ElementInheritance& inherited);
    ~ElementInstance();

    ElementInstance(const ElementInstance&) = delete;
    ElementInstance& operator=(const ElementInstance&) = delete;

    const ElementInheritance& inherited() const { return m_inherited; }

    // Takes the element on: selects its animation, builds its sub-world,
    // sets its trajectory clock up, then resets.
    void setElement(const CResourceHolder& document, int worldIndex, int elementIndex, WorldBuildContext& context);
    void reset();
    void step(double amount);
    void draw(QPainter& painter, int x, int y, const QRect& clip) const;
    // The y the "Sort Offsets Y" worlds order their elements by.
    double currentY() const;

    const WorldElement* element() const;
    const PlayClock* clock() const { return m_hasClock ? &m_clock : nullptr; }
    const CAnimationCursor& animationCursor() const { return m_cursor; }
    const WorldInstance* subWorld() const { return m_subWorld.get(); }

private:
    const Trajectory* trajectory() const;

    ElementInheritance m_inherited;
    const CResourceHolder* m_document = nullptr;
    int m_worldIndex = -1;
    int m_elementIndex = -1;
    bool m_hasClock = false;
    PlayClock m_clock;
    CAnimationCursor m_cursor;
    std::unique_ptr<WorldInstance> m_subWorld;
};
