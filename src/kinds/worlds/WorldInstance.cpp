#include "kinds/worlds/WorldInstance.h"

#include "core/CResourceHolder.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldCoordinates.h"
#include "quillop/runtime/DrawOrder.h"

#include <algorithm>
#include <cmath>

WorldInstance::WorldInstance() = default;
WorldInstance::~WorldInstance() = default;

const GameWorld* WorldInstance::world() const
{
    return m_document ? CWorldLoopGuard::world(*m_document, m_worldIndex) : nullptr;
}

const ElementInstance* WorldInstance::instance(int i) const
{
    return i >= 0 && i < instanceCount() ? m_instances[std::size_t(i)].get() : nullptr;
}

int WorldInstance::build(const CResourceHolder& document, int worldIndex)
{
    WorldBuildContext context;
    return build(document, worldIndex, context);
}

int WorldInstance::build(const CResourceHolder& document, int worldIndex, WorldBuildContext& context)
{
    m_document = &document;
    m_worldIndex = worldIndex;
    m_instances.clear();
    m_elapsed = playOffset;
    const GameWorld* w = world();
    if (!w)
        return 0;
    const auto& path = context.path;
    if (std::find(path.begin(), path.end(), worldIndex) != path.end() ||
        int(path.size()) >= WorldBuildContext::kMaxNesting)
        return 1;
    // The instance's own offset is applied once, when it is drawn; what the
    // elements inherit starts at the world's origin.
    ElementInheritance top{show, play, 0.0, 0.0, playOffset + w->playOffset(), playSpeed};
    context.path.push_back(worldIndex);
    walk(*w, worldIndex, top, context);
    context.path.pop_back();
    return 1;
}

void WorldInstance::walk(const GameWorld& w, int worldIndex, const ElementInheritance& in, WorldBuildContext& context)
{
    for (int i = 0; i < w.elementCount(); ++i) {
        // Once the budget is spent the walk stops everywhere, so that the
        // worlds still to be taken in are not even visited.
        if (context.instancesLeft <= 0)
            return;
        const WorldElement& e = *w.elementAt(i);
        if (e.objectType != WorldObjectWorldElements) {
            --context.instancesLeft;
            auto instance = std::make_unique<ElementInstance>(in);
            instance->setElement(*m_document, worldIndex, i, context);
            m_instances.push_back(std::move(instance));
            continue;
        }
        const GameWorld* taken = CWorldLoopGuard::world(*m_document, e.objectIndex);
        auto& path = context.path;
        if (!taken || std::find(path.begin(), path.end(), e.objectIndex) != path.end() ||
            int(path.size()) >= WorldBuildContext::kMaxNesting)
            continue;
        const ElementInheritance inner{in.show && e.show,
                                       in.play && e.play,
                                       in.offsetX + e.offsetX,
                                       in.offsetY + e.offsetY,
                                       in.playOffset + e.playOffset + taken->playOffset(),
                                       in.playSpeed * e.playSpeed};
        path.push_back(e.objectIndex);
        walk(*taken, e.objectIndex, inner, context);
        path.pop_back();
    }
}

void WorldInstance::reset()
{
    m_elapsed = playOffset;
    for (auto& instance : m_instances)
        instance->reset();
}

void WorldInstance::step(double step)
{
    const GameWorld* w = world();
    if (!play || !w)
        return;
    const double amount = step * playSpeed * w->playSpeed();
    m_elapsed += amount;
    for (auto& instance : m_instances)
        instance->step(amount);
}

std::vector<const ElementInstance*> WorldInstance::drawingOrder() const
{
    std::vector<const ElementInstance*> order;
    order.reserve(m_instances.size());
    for (const auto& instance : m_instances)
        order.push_back(instance.get());
    const GameWorld* w = world();
    if (!w || w->worldType() != GameWorld::kTypeSortOffsetsY)
        return order;
    // Each y is computed once, then ordered as every world of that type is.
    std::vector<double> ys;
    ys.reserve(order.size());
    for (const ElementInstance* instance : order)
        ys.push_back(instance->currentY());
    const std::vector<std::size_t> sorted = quillop::orderByY(ys);
    std::vector<const ElementInstance*> byY;
    byY.reserve(order.size());
    for (std::size_t i : sorted)
        byY.push_back(order[i]);
    return byY;
}

void WorldInstance::draw(QPainter& painter, int dx, int dy, const QRect& clip) const
{
    const GameWorld* w = world();
    if (!show || !w)
        return;
    using namespace WorldCoordinates;
    const int x = clamped(std::int64_t(dx) + truncated(offsetX) + w->offsetX());
    const int y = clamped(std::int64_t(dy) + truncated(offsetY) + w->offsetY());
    for (const ElementInstance* instance : drawingOrder())
        instance->draw(painter, x, y, clip);
}
