#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTransform>

#include <vector>

class CDisplayBuffer;
class CMapItem;
class CMapZoomedOutPicture;
class CResourceHolder;
class QPainter;

// The picture of the map editor's canvas: the part of a map a canvas of a
// given size shows through a view (zoom and scroll), drawn over the
// background with the current cell highlighted, the cells under the pointer
// lit, a frame around the map's
// whole area and a focus frame around the canvas; with no map, the
// background crossed by its two diagonals. Only what the areas to redraw
// can show is drawn, so a repaint costs what is visible, not what the map
// holds.
class CMapCanvasPicture {
public:
    // Up to this many areas are drawn one by one; more are drawn as the one
    // rectangle around them.
    static constexpr int kMaxSeparateAreas = 9;
    static constexpr int kFocusFrame = 2;

    struct Style {
        QColor background{64, 64, 64};
        QColor lines{160, 160, 160};
        QColor highlight{255, 255, 0};
        QColor focused{0, 120, 215};
        QColor unfocused{128, 128, 128};
        QColor frameLight{255, 255, 255};
        QColor frameDark{0, 0, 0};
    };

    struct Scene {
        const CMapItem* map = nullptr;
        const CResourceHolder* document = nullptr;
        // Map pixels to canvas pixels.
        QTransform view;
        QPoint currentCell{-1, -1};
        bool focused = false;
        // Cells outlined as a tool's rubber band (empty: none).
        QRect band;
        // The cells the brush would cover under the pointer (empty: none).
        QRect hover;
        // Where a zoomed-out view takes its cells from (none: each drawn).
        CMapZoomedOutPicture* zoomedOut = nullptr;
    };

    // The map's whole area in map pixels (empty without cells).
    static QRect mapArea(const CMapItem& map);
    // A cell's rectangle in canvas pixels.
    static QRectF cellRect(const CMapItem& map, const QTransform& view, QPoint cell);

    // Redraws `areas` (canvas pixels) of `target`, a display buffer of the
    // canvas's size, made when it is not.
    static void render(CDisplayBuffer& target, QSize size, const std::vector<QRect>& areas, const Scene& scene,
                       const Style& style);
    static void paintArea(QPainter& painter, QSize size, const QRect& area, const Scene& scene, const Style& style);
};
