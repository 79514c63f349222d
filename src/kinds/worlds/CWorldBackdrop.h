#pragma once

#include "kinds/worlds/CWorldFrame.h"

#include <QImage>
#include <QSize>
#include <QTransform>

#include <cstddef>
#include <functional>
#include <vector>

class QPainter;

// The bottom of a playing world's picture kept ready to copy: what lies
// under the world (background, axes) and the layers at the bottom of the
// drawing order that the last steps left where they were, drawn once at the
// window's zoom and size. A step that changes only pictures above them is
// repainted by copying from it and drawing those pictures alone, so a world
// with still maps behind it does not draw the maps' cells again at each step.
class CWorldBackdrop {
public:
    // Draws what lies under the world, then the first `count` layers of
    // `frame`, on a painter in window pixels.
    using Painting = std::function<void(QPainter& painter, const CWorldFrame& frame, std::size_t count)>;
    // Layers that came to rest are taken in only once this many pictures
    // were served since the last remake: a layer that changes every few
    // steps does not have the picture made again at each change.
    static constexpr int kSettlePictures = 16;

    // The picture for `frame` in a window of `size` at `ratio` device pixels
    // per window pixel, seen through `view`. It holds at most `still` layers
    // of the frame, and is made again when the window, the view or one of
    // the layers it holds is not the same any more.
    const QImage& picture(const CWorldFrame& frame, std::size_t still, QSize size, qreal ratio,
                          const QTransform& view, const Painting& paint);
    // How many layers of the frame last asked for the picture holds.
    std::size_t layerCount() const { return m_layers.size(); }
    // What lies under the world or what the pictures show changed.
    void clear() { m_made = false; }

private:
    bool holdsBottomOf(const CWorldFrame& frame) const;

    QImage m_image;
    QTransform m_view;
    std::vector<CWorldFrame::Layer> m_layers;
    int m_served = 0;
    bool m_made = false;
};
