#include "quillop/runtime/WorldPlayer.h"

#include "quillop/runtime/CDocument.h"
#include "quillop/runtime/DrawOrder.h"
#include "quillop/runtime/GroupIndex.h"
#include "quillop/runtime/TrajectoryPath.h"
#include "quillop/runtime/WorldCoordinates.h"

#include <algorithm>
#include <limits>

namespace quillop {

namespace {
template <typename Record>
const Record* at(const std::vector<Record>& records, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < records.size() ? &records[static_cast<std::size_t>(index)]
                                                                         : nullptr;
}

// A drawing point plus a frame's offsets, kept within the int range.
int offsetPixel(int x, std::int32_t offset)
{
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t(x) + offset, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}
} // namespace

// --- the runtime's document as a source -------------------------------------

CDocumentWorldSource::CDocumentWorldSource(const CDocument& document) : m_document(document)
{
    m_animations.reserve(document.animations().size());
    for (const AnimationRecord& a : document.animations())
        m_animations.emplace_back(a);
}

CDocumentWorldSource::~CDocumentWorldSource() = default;

bool CDocumentWorldSource::world(int index, WorldHeader& header) const
{
    const WorldRecord* w = at(m_document.worlds(), index);
    if (!w)
        return false;
    header = {w->type, w->offsetX, w->offsetY, w->playOffset, w->playSpeed};
    return true;
}

int CDocumentWorldSource::elementCount(int world) const
{
    const WorldRecord* w = at(m_document.worlds(), world);
    return w ? static_cast<int>(w->elements.size()) : 0;
}

const WorldElementRecord* CDocumentWorldSource::element(int world, int element) const
{
    const WorldRecord* w = at(m_document.worlds(), world);
    return w ? at(w->elements, element) : nullptr;
}

bool CDocumentWorldSource::exists(int group, int index) const
{
    return index >= 0 && index < m_document.count(group);
}

const IAnimationFrames* CDocumentWorldSource::animation(int index) const
{
    return at(m_animations, index);
}

std::int32_t CDocumentWorldSource::animationType(int index) const
{
    const AnimationRecord* a = at(m_document.animations(), index);
    return a ? a->type : -1;
}

bool CDocumentWorldSource::animationFrame(int animation, int frame, AnimationFrame& out) const
{
    const AnimationRecord* a = at(m_document.animations(), animation);
    const AnimationFrame* f = a ? at(a->frames, frame) : nullptr;
    if (f)
        out = *f;
    return f != nullptr;
}

bool CDocumentWorldSource::trajectory(int index, PathInfo& info) const
{
    const TrajectoryRecord* t = at(m_document.trajectories(), index);
    if (!t)
        return false;
    info = {static_cast<int>(t->points.size()), t->playMode, t->playSpeed};
    return true;
}

TrajectoryPoint CDocumentWorldSource::trajectoryPlace(int index, double position) const
{
    const TrajectoryRecord* t = at(m_document.trajectories(), index);
    if (!t)
        return {};
    const TrajectoryPoint p = pointOnPath(t->points.data(), t->points.size(), position);
    return {t->offsetX + p.x, t->offsetY + p.y};
}

// --- element instances --------------------------------------------------------

CElementInstance::CElementInstance(const ElementInheritance& inherited) : m_inherited(inherited) {}

CElementInstance::~CElementInstance() = default;

const WorldElementRecord* CElementInstance::element() const
{
    return m_source ? m_source->element(m_worldIndex, m_elementIndex) : nullptr;
}

bool CElementInstance::path(PathInfo& info) const
{
    const WorldElementRecord* e = element();
    return e && m_source->trajectory(e->trajectoryIndex, info);
}

void CElementInstance::setElement(const IWorldSource& source, int worldIndex, int elementIndex,
                                  WorldBuildContext& context)
{
    m_source = &source;
    m_worldIndex = worldIndex;
    m_elementIndex = elementIndex;
    m_subWorld.reset();
    m_hasClock = false;
    const WorldElementRecord* e = element();
    if (!e)
        return;
    if (e->objectType == WorldObjectWorldReference) {
        m_subWorld = std::make_unique<CWorldInstance>();
        m_subWorld->playOffset = e->playOffset + e->objectPlayOffset + m_inherited.playOffset;
        m_subWorld->build(source, e->objectIndex, context);
    }
    PathInfo info;
    if (path(info)) {
        m_hasClock = true;
        m_clock.SetEnd(info.pointCount);
        m_clock.SetSpeed(e->trajectoryPlaySpeed);
        m_clock.SetPlayMode(info.playMode);
    }
    reset();
}

void CElementInstance::reset()
{
    const WorldElementRecord* e = element();
    if (!e)
        return;
    if (e->objectType == WorldObjectAnimation) {
        const IAnimationFrames* a = m_source->animation(e->objectIndex);
        m_cursor.restart(a);
        m_cursor.seek(a, e->playOffset + e->objectPlayOffset + m_inherited.playOffset);
    }
    if (m_subWorld)
        m_subWorld->reset();
    if (m_hasClock) {
        // A restart rather than a bare reset, so that a clock of a "Once"
        // mode that has stopped plays again after the world is reset.
        m_clock.Restart();
        m_clock.SetPosition(e->playOffset + e->trajectoryPlayOffset + m_inherited.playOffset);
    }
}

void CElementInstance::step(double amount)
{
    const WorldElementRecord* e = element();
    if (!e || !e->play || !m_inherited.play)
        return;
    const double x = amount * m_inherited.playSpeed * e->playSpeed;
    if (e->objectType == WorldObjectAnimation)
        m_cursor.advance(m_source->animation(e->objectIndex), x * e->objectPlaySpeed);
    else if (e->objectType == WorldObjectWorldReference && m_subWorld)
        m_subWorld->step(x * e->objectPlaySpeed);
    PathInfo info;
    if (m_hasClock && path(info))
        m_clock.Advance(x * info.playSpeed);
}

int CElementInstance::frameOffsetY() const
{
    const WorldElementRecord* e = element();
    AnimationFrame frame;
    return m_source->animationFrame(e->objectIndex, m_cursor.frameIndex(), frame) ? frame.offsetY : 0;
}

double CElementInstance::currentY() const
{
    const WorldElementRecord* e = element();
    if (!e)
        return m_inherited.offsetY;
    double y = e->offsetY + m_inherited.offsetY;
    PathInfo info;
    if (m_hasClock && path(info))
        y += m_source->trajectoryPlace(e->trajectoryIndex, m_clock.GetPosition()).y;
    if (e->objectType == WorldObjectAnimation)
        y += frameOffsetY();
    return y;
}

void CElementInstance::drawList(int x, int y, std::vector<DrawItem>& out) const
{
    layout(x, y, out);
}

double CElementInstance::layout(int x, int y, std::vector<DrawItem>& out) const
{
    const WorldElementRecord* e = element();
    // Where a hidden element sorts changes nothing drawn.
    if (!e || !e->show || !m_inherited.show)
        return 0.0;
    using namespace WorldCoordinates;
    double sortY = e->offsetY + m_inherited.offsetY;
    std::int64_t px = std::int64_t(x) + truncated(e->offsetX + m_inherited.offsetX);
    std::int64_t py = std::int64_t(y) + truncated(sortY);
    PathInfo info;
    if (m_hasClock && path(info)) {
        const TrajectoryPoint p = m_source->trajectoryPlace(e->trajectoryIndex, m_clock.GetPosition());
        px += truncated(p.x);
        py += truncated(p.y);
        sortY += p.y;
    }
    const int cx = clamped(px);
    const int cy = clamped(py);
    switch (e->objectType) {
    case WorldObjectBitmap:
        if (m_source->exists(GroupBitmaps, e->objectIndex))
            out.push_back({DrawItem::Bitmap, e->objectIndex, cx, cy, m_worldIndex, m_elementIndex});
        break;
    case WorldObjectAnimation: {
        AnimationFrame frame;
        if (!m_source->animationFrame(e->objectIndex, m_cursor.frameIndex(), frame))
            break;
        sortY += frame.offsetY;
        if (m_source->animationType(e->objectIndex) == AnimationRecord::kTypeBitmaps &&
            m_source->exists(GroupBitmaps, frame.bitmap))
            out.push_back({DrawItem::Bitmap, frame.bitmap, offsetPixel(cx, frame.offsetX),
                           offsetPixel(cy, frame.offsetY), m_worldIndex, m_elementIndex});
        break;
    }
    case WorldObjectMap:
        if (m_source->exists(GroupMaps, e->objectIndex))
            out.push_back({DrawItem::Map, e->objectIndex, cx, cy, m_worldIndex, m_elementIndex});
        break;
    case WorldObjectWorldReference:
        if (m_subWorld)
            m_subWorld->drawList(cx, cy, out);
        break;
    default:
        break;
    }
    return sortY;
}

// --- world instances ------------------------------------------------------------

CWorldInstance::CWorldInstance() = default;
CWorldInstance::~CWorldInstance() = default;

bool CWorldInstance::header(WorldHeader& header) const
{
    return m_source && m_source->world(m_worldIndex, header);
}

const CElementInstance* CWorldInstance::instance(int i) const
{
    return i >= 0 && i < instanceCount() ? m_instances[std::size_t(i)].get() : nullptr;
}

int CWorldInstance::build(const IWorldSource& source, int worldIndex)
{
    WorldBuildContext context;
    return build(source, worldIndex, context);
}

int CWorldInstance::build(const IWorldSource& source, int worldIndex, WorldBuildContext& context)
{
    m_source = &source;
    m_worldIndex = worldIndex;
    m_instances.clear();
    m_elapsed = playOffset;
    WorldHeader w;
    if (!header(w))
        return 0;
    const auto& path = context.path;
    if (std::find(path.begin(), path.end(), worldIndex) != path.end() ||
        int(path.size()) >= WorldBuildContext::kMaxNesting)
        return 1;
    // The instance's own offset is applied once, when it is drawn; what the
    // elements inherit starts at the world's origin.
    const ElementInheritance top{show, play, 0.0, 0.0, playOffset + w.playOffset, playSpeed};
    context.path.push_back(worldIndex);
    walk(worldIndex, top, context);
    context.path.pop_back();
    return 1;
}

void CWorldInstance::walk(int worldIndex, const ElementInheritance& in, WorldBuildContext& context)
{
    const int count = m_source->elementCount(worldIndex);
    for (int i = 0; i < count; ++i) {
        // Once the budget is spent the walk stops everywhere, so that the
        // worlds still to be taken in are not even visited.
        if (context.instancesLeft <= 0)
            return;
        const WorldElementRecord& e = *m_source->element(worldIndex, i);
        if (e.objectType != WorldObjectWorldElements) {
            --context.instancesLeft;
            auto instance = std::make_unique<CElementInstance>(in);
            instance->setElement(*m_source, worldIndex, i, context);
            m_instances.push_back(std::move(instance));
            continue;
        }
        WorldHeader taken;
        auto& path = context.path;
        if (!m_source->world(e.objectIndex, taken) ||
            std::find(path.begin(), path.end(), e.objectIndex) != path.end() ||
            int(path.size()) >= WorldBuildContext::kMaxNesting)
            continue;
        const ElementInheritance inner{in.show && e.show,
                                       in.play && e.play,
                                       in.offsetX + e.offsetX,
                                       in.offsetY + e.offsetY,
                                       in.playOffset + e.playOffset + taken.playOffset,
                                       in.playSpeed * e.playSpeed};
        path.push_back(e.objectIndex);
        walk(e.objectIndex, inner, context);
        path.pop_back();
    }
}

void CWorldInstance::reset()
{
    m_elapsed = playOffset;
    for (auto& instance : m_instances)
        instance->reset();
}

void CWorldInstance::step(double step)
{
    WorldHeader w;
    if (!play || !header(w))
        return;
    const double amount = step * playSpeed * w.playSpeed;
    m_elapsed += amount;
    for (auto& instance : m_instances)
        instance->step(amount);
}

std::vector<const CElementInstance*> CWorldInstance::drawingOrder() const
{
    std::vector<const CElementInstance*> order;
    order.reserve(m_instances.size());
    for (const auto& instance : m_instances)
        order.push_back(instance.get());
    WorldHeader w;
    if (!header(w) || w.type != WorldHeader::kTypeSortOffsetsY)
        return order;
    // Each y is computed once, then ordered as every world of that type is.
    std::vector<double> ys;
    ys.reserve(order.size());
    for (const CElementInstance* instance : order)
        ys.push_back(instance->currentY());
    const std::vector<std::size_t> sorted = orderByY(ys);
    std::vector<const CElementInstance*> byY;
    byY.reserve(order.size());
    for (std::size_t i : sorted)
        byY.push_back(order[i]);
    return byY;
}

void CWorldInstance::drawList(int dx, int dy, std::vector<DrawItem>& out) const
{
    WorldHeader w;
    if (!show || !header(w))
        return;
    using namespace WorldCoordinates;
    const int x = clamped(std::int64_t(dx) + truncated(offsetX) + w.offsetX);
    const int y = clamped(std::int64_t(dy) + truncated(offsetY) + w.offsetY);
    if (w.type != WorldHeader::kTypeSortOffsetsY) {
        for (const auto& instance : m_instances)
            instance->layout(x, y, out);
        return;
    }
    // Each element is placed once, its y kept beside what it draws; then
    // what each draws goes out in the order of the y values.
    std::vector<DrawItem> placed;
    placed.reserve(m_instances.size());
    std::vector<std::size_t> starts;
    starts.reserve(m_instances.size() + 1);
    std::vector<double> ys;
    ys.reserve(m_instances.size());
    for (const auto& instance : m_instances) {
        starts.push_back(placed.size());
        ys.push_back(instance->layout(x, y, placed));
    }
    starts.push_back(placed.size());
    for (std::size_t i : orderByY(ys))
        out.insert(out.end(), placed.begin() + std::ptrdiff_t(starts[i]), placed.begin() + std::ptrdiff_t(starts[i + 1]));
}

} // namespace quillop
