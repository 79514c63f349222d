#include "kinds/worlds/ElementInstance.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldCoordinates.h"
#include "kinds/worlds/WorldInstance.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>

ElementInstance::ElementInstance(const ElementInheritance& inherited) : m_inherited(inherited) {}

ElementInstance::~ElementInstance() = default;

const WorldElement* ElementInstance::element() const
{
    const GameWorld* w = m_document ? CWorldLoopGuard::world(*m_document, m_worldIndex) : nullptr;
    return w ? w->elementAt(m_elementIndex) : nullptr;
}

const Trajectory* ElementInstance::trajectory() const
{
    const WorldElement* e = element();
    return e ? dynamic_cast<const Trajectory*>(m_document->get(GroupTrajectories, e->trajectoryIndex)) : nullptr;
}

void ElementInstance::setElement(const CResourceHolder& document, int worldIndex, int elementIndex,
                                 WorldBuildContext& context)
{
    m_document = &document;
    m_worldIndex = worldIndex;
    m_elementIndex = elementIndex;
    m_subWorld.reset();
    m_hasClock = false;
    const WorldElement* e = element();
    if (!e)
        return;
    if (e->objectType == WorldObjectAnimation) {
        m_cursor.setDocument(&document);
        m_cursor.setAnimationIndex(e->objectIndex);
    } else if (e->objectType == WorldObjectWorldReference) {
        m_subWorld = std::make_unique<WorldInstance>();
        m_subWorld->playOffset = e->playOffset + e->objectPlayOffset + m_inherited.playOffset;
        m_subWorld->build(document, e->objectIndex, context);
    }
    if (const Trajectory* t = trajectory()) {
        m_hasClock = true;
        m_clock.SetEnd(t->GetPointCount());
        m_clock.SetSpeed(e->trajectoryPlaySpeed);
        m_clock.SetPlayMode(t->GetPlayMode());
    }
    reset();
}

void ElementInstance::reset()
{
    const WorldElement* e = element();
    if (!e)
        return;
    if (e->objectType == WorldObjectAnimation) {
        m_cursor.restart();
        m_cursor.seek(e->playOffset + e->objectPlayOffset + m_inherited.playOffset);
    }
    if (m_subWorld)
        m_subWorld->reset();
    if (m_hasClock) {
        // A restart rather than a bare reset, so that a clock of a "Once"
        // mode that has stopped plays again after the preview is reset.
        m_clock.Restart();
        m_clock.SetPosition(e->playOffset + e->trajectoryPlayOffset + m_inherited.playOffset);
    }
}

void ElementInstance::step(double amount)
{
    const WorldElement* e = element();
    if (!e || !e->play || !m_inherited.play)
        return;
    const double x = amount * m_inherited.playSpeed * e->playSpeed;
    if (e->objectType == WorldObjectAnimation)
        m_cursor.advance(x * e->objectPlaySpeed);
    else if (e->objectType == WorldObjectWorldReference && m_subWorld)
        m_subWorld->step(x * e->objectPlaySpeed);
    if (m_hasClock)
        if (const Trajectory* t = trajectory())
            m_clock.Advance(x * t->GetPlaySpeed());
}

double ElementInstance::currentY() const
{
    const WorldElement* e = element();
    if (!e)
        return m_inherited.offsetY;
    double y = e->offsetY + m_inherited.offsetY;
    if (m_hasClock)
        if (const Trajectory* t = trajectory())
            y += t->YAt(m_clock.GetPosition());
    if (e->objectType == WorldObjectAnimation)
        y += m_cursor.currentOffsetY();
    return y;
}

void ElementInstance::draw(QPainter& painter, int x, int y, const QRect& clip) const
{
    const WorldElement* e = element();
    if (!e || !e->show || !m_inherited.show)
        return;
    using namespace WorldCoordinates;
    std::int64_t px = std::int64_t(x) + truncated(e->offsetX + m_inherited.offsetX);
    std::int64_t py = std::int64_t(y) + truncated(e->offsetY + m_inherited.offsetY);
    if (m_hasClock)
        if (const Trajectory* t = trajectory()) {
            px += truncated(t->XAt(m_clock.GetPosition()));
            py += truncated(t->YAt(m_clock.GetPosition()));
        }
    const int cx = clamped(px);
    const int cy = clamped(py);
    switch (e->objectType) {
    case WorldObjectBitmap:
        if (const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(m_document->get(GroupBitmaps, e->objectIndex)))
            bitmap->draw(painter, cx, cy);
        break;
    case WorldObjectAnimation:
        m_cursor.draw(painter, cx, cy);
        break;
    case WorldObjectMap:
        if (const auto* map = dynamic_cast<const CMapItem*>(m_document->get(GroupMaps, e->objectIndex)))
            map->drawStretched(painter, *m_document, QPoint(cx, cy), clip);
        break;
    case WorldObjectWorldReference:
        if (m_subWorld)
            m_subWorld->draw(painter, cx, cy, clip);
        break;
    default:
        break;
    }
}
