#pragma once

#include "kinds/worlds/WorldInstance.h"

#include <QRect>

#include <cstddef>
#include <vector>

// What a playing world draws at one step, kept so that a window can paint
// it after the world has stepped on, and can tell what the next step
// changed: each picture of the draw list with the area it covers, bottom
// first.
class CWorldFrame {
public:
    using Layer = WorldInstance::Layer;

    CWorldFrame() = default;
    // `instance` with its drawing point at (dx, dy).
    CWorldFrame(const WorldInstance& instance, int dx, int dy);

    const std::vector<Layer>& layers() const { return m_layers; }
    double elapsed() const { return m_elapsed; }
    int worldIndex() const { return m_world; }

    static bool sameLayer(const Layer& a, const Layer& b);
    // How many layers from the bottom up the two frames have in common.
    std::size_t sharedBottom(const CWorldFrame& other) const;
    // Where the picture may differ from `before`'s: at every place of the
    // drawing order whose layer is not the same, the areas of both. A
    // pixel no listed area covers is covered by the same pictures in the
    // same order in both frames.
    std::vector<QRect> changedAreas(const CWorldFrame& before) const;

private:
    std::vector<Layer> m_layers;
    double m_elapsed = 0.0;
    int m_world = -1;
};
