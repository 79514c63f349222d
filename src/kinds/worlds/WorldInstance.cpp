#include "kinds/worlds/WorldInstance.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/maps/CMapCanvasPicture.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/GameWorld.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>

// The editor's document as the runtime's world player reads it.
class WorldInstance::CHolderSource : public quillop::IWorldSource {
public:
    explicit CHolderSource(const CResourceHolder& document) : m_document(document) {}

    bool world(int index, quillop::WorldHeader& header) const override
    {
        const GameWorld* w = CWorldLoopGuard::world(m_document, index);
        if (!w)
            return false;
        header = {w->worldType(), w->offsetX(), w->offsetY(), w->playOffset(), w->playSpeed()};
        return true;
    }
    int elementCount(int world) const override
    {
        const GameWorld* w = CWorldLoopGuard::world(m_document, world);
        return w ? w->elementCount() : 0;
    }
    const quillop::WorldElementRecord* element(int world, int element) const override
    {
        const GameWorld* w = CWorldLoopGuard::world(m_document, world);
        return w ? w->elementAt(element) : nullptr;
    }
    bool exists(int group, int index) const override
    {
        if (group == GroupBitmaps)
            return dynamic_cast<const CDisplayBuffer*>(m_document.get(group, index)) != nullptr;
        if (group == GroupMaps)
            return dynamic_cast<const CMapItem*>(m_document.get(group, index)) != nullptr;
        return m_document.get(group, index) != nullptr;
    }
    const quillop::IAnimationFrames* animation(int index) const override { return animationItem(index); }
    std::int32_t animationType(int index) const override
    {
        const CAnimationItem* a = animationItem(index);
        return a ? a->animationType() : -1;
    }
    bool animationFrame(int animation, int frame, quillop::AnimationFrame& out) const override
    {
        const CAnimationItem* a = animationItem(animation);
        const CAnimationFrame* f = a ? a->frame(frame) : nullptr;
        if (f)
            out = {f->bitmap, f->delay, f->offsetX, f->offsetY};
        return f != nullptr;
    }
    bool trajectory(int index, quillop::PathInfo& info) const override
    {
        const Trajectory* t = trajectoryItem(index);
        if (!t)
            return false;
        info = {t->GetPointCount(), t->GetPlayMode(), t->GetPlaySpeed()};
        return true;
    }
    quillop::TrajectoryPoint trajectoryPlace(int index, double position) const override
    {
        const Trajectory* t = trajectoryItem(index);
        return t ? quillop::TrajectoryPoint{t->XAt(position), t->YAt(position)} : quillop::TrajectoryPoint{};
    }

private:
    const CAnimationItem* animationItem(int index) const
    {
        return dynamic_cast<const CAnimationItem*>(m_document.get(GroupAnimations, index));
    }
    const Trajectory* trajectoryItem(int index) const
    {
        return dynamic_cast<const Trajectory*>(m_document.get(GroupTrajectories, index));
    }

    const CResourceHolder& m_document;
};

WorldInstance::WorldInstance() = default;
WorldInstance::~WorldInstance() = default;

int WorldInstance::build(const CResourceHolder& document, int worldIndex)
{
    if (m_document != &document || !m_source) {
        m_document = &document;
        m_source = std::make_unique<CHolderSource>(document);
    }
    return quillop::CWorldInstance::build(*m_source, worldIndex);
}

const GameWorld* WorldInstance::world() const
{
    return m_document ? CWorldLoopGuard::world(*m_document, worldIndex()) : nullptr;
}

void WorldInstance::draw(QPainter& painter, int dx, int dy, const QRect& clip) const
{
    if (!m_document)
        return;
    std::vector<quillop::DrawItem> items;
    drawList(dx, dy, items);
    for (const quillop::DrawItem& item : items)
        drawLayer(painter, item, clip);
}

void WorldInstance::drawLayer(QPainter& painter, const quillop::DrawItem& item, const QRect& clip) const
{
    if (!m_document)
        return;
    if (item.kind == quillop::DrawItem::Map) {
        if (const auto* map = dynamic_cast<const CMapItem*>(m_document->get(GroupMaps, item.index)))
            map->drawStretched(painter, *m_document, QPoint(item.x, item.y), clip);
    } else if (const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(m_document->get(GroupBitmaps, item.index))) {
        bitmap->draw(painter, item.x, item.y);
    }
}

std::vector<WorldInstance::Layer> WorldInstance::layers(int dx, int dy) const
{
    std::vector<Layer> layers;
    if (!m_document)
        return layers;
    std::vector<quillop::DrawItem> items;
    drawList(dx, dy, items);
    layers.reserve(items.size());
    for (const quillop::DrawItem& item : items) {
        QRect area;
        if (item.kind == quillop::DrawItem::Map) {
            if (const auto* map = dynamic_cast<const CMapItem*>(m_document->get(GroupMaps, item.index)))
                area = CMapCanvasPicture::mapArea(*map).translated(item.x, item.y);
        } else if (const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(m_document->get(GroupBitmaps, item.index))) {
            // A region is shaded where its rectangles lie, not from the corner.
            const QPoint topLeft = bitmap->topLeftFor(item.x, item.y);
            const QRegion* region = bitmap->kind() == CDisplayBuffer::PaintingRegion ? bitmap->region() : nullptr;
            area = region ? region->boundingRect().translated(topLeft)
                          : QRect(topLeft, QSize(bitmap->actualWidth(), bitmap->actualHeight()));
        }
        layers.push_back({item, area});
    }
    return layers;
}

std::vector<WorldInstance::Placed> WorldInstance::placedElements(int dx, int dy) const
{
    std::vector<Placed> placed;
    for (const Layer& layer : layers(dx, dy))
        if (layer.item.world == worldIndex() && !layer.area.isEmpty())
            placed.push_back({layer.item.element, layer.area});
    return placed;
}

int WorldInstance::elementAt(int dx, int dy, QPoint point) const
{
    const std::vector<Placed> placed = placedElements(dx, dy);
    for (auto it = placed.rbegin(); it != placed.rend(); ++it)
        if (it->rect.contains(point))
            return it->element;
    return -1;
}
