#include "kinds/worlds/CWorldFrame.h"

#include "kinds/worlds/WorldInstance.h"

#include <algorithm>

CWorldFrame::CWorldFrame(const WorldInstance& instance, int dx, int dy)
    : m_layers(instance.layers(dx, dy)), m_elapsed(instance.elapsed()), m_world(instance.worldIndex())
{
}

bool CWorldFrame::sameLayer(const Layer& a, const Layer& b)
{
    return a.item.kind == b.item.kind && a.item.index == b.item.index && a.item.x == b.item.x &&
           a.item.y == b.item.y && a.item.world == b.item.world && a.item.element == b.item.element &&
           a.area == b.area;
}

std::size_t CWorldFrame::sharedBottom(const CWorldFrame& other) const
{
    const std::size_t common = std::min(m_layers.size(), other.m_layers.size());
    std::size_t k = 0;
    while (k < common && sameLayer(m_layers[k], other.m_layers[k]))
        ++k;
    return k;
}

std::vector<QRect> CWorldFrame::changedAreas(const CWorldFrame& before) const
{
    // Compared place by place: a picture that moved up or down the order
    // changes the places it left and took, and both are listed.
    std::vector<QRect> areas;
    const std::size_t count = std::max(m_layers.size(), before.m_layers.size());
    for (std::size_t k = sharedBottom(before); k < count; ++k) {
        const Layer* now = k < m_layers.size() ? &m_layers[k] : nullptr;
        const Layer* then = k < before.m_layers.size() ? &before.m_layers[k] : nullptr;
        if (now && then && sameLayer(*now, *then))
            continue;
        for (const Layer* layer : {now, then})
            if (layer && !layer->area.isEmpty())
                areas.push_back(layer->area);
    }
    return areas;
}
