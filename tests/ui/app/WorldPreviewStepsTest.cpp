// A game step repaints the world preview only where its picture changed,
// and what that leaves in the window is what a whole repaint draws: no
// moved picture leaves anything behind, at 1:1 and fitted with the cell
// grid over it.
#include "core/GroupIndex.h"
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "grid/ui/CZoomView.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "kinds/worlds/ui/CWorldPreview.h"
#include "kinds/worlds/ui/CWorldsPanel.h"
#include "ui/app/OpenedDemo.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace {
std::int64_t area(const QRegion& region)
{
    std::int64_t sum = 0;
    for (const QRect& r : region)
        sum += std::int64_t(r.width()) * r.height();
    return sum;
}
} // namespace

TEST(WorldPreviewSteps, WhatAStepRepaintsLeavesTheWholePicture)
{
    OpenedDemo demo;
    ASSERT_TRUE(demo.opened);
    demo.show(1400, 900);
    CQuillopView& view = demo.view;
    const int panel = CQuillopView::panelOfGroup(GroupWorlds);
    view.showPanel(panel, false);
    auto& worlds = dynamic_cast<CWorldsPanel&>(*view.panel(panel));
    worlds.selectRow(0);
    CWorldElementsView& elements = *worlds.elementsView();
    CWorldPreview& preview = *elements.preview();
    QApplication::processEvents();
    const std::int64_t whole = std::int64_t(preview.width()) * preview.height();
    // The caption's frame rate moves on at every paint: it is left out.
    const QRect caption(0, 0, preview.width() / 2, 3 * preview.fontMetrics().lineSpacing() + 8);
    for (const bool fitted : {false, true}) {
        fitted ? preview.view()->fit() : preview.view()->oneToOne();
        preview.view()->setGridShown(fitted);
        QImage shown(preview.size(), QImage::Format_RGB32);
        preview.render(&shown);
        std::int64_t repainted = 0;
        for (int step = 0; step < 60; ++step) {
            elements.step(1.0);
            const QRegion changed = preview.showStep();
            repainted += area(changed);
            // The region lands with its bounding rectangle at the offset given.
            preview.render(&shown, changed.boundingRect().topLeft(), changed);
        }
        EXPECT_LT(repainted, 60 * whole / 2) << "steps repaint less than the window";
        QImage expected(preview.size(), QImage::Format_RGB32);
        preview.render(&expected);
        int wrong = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                wrong += !caption.contains(x, y) && shown.pixel(x, y) != expected.pixel(x, y);
        EXPECT_EQ(wrong, 0) << (fitted ? "fitted" : "1:1");
    }
    preview.view()->setGridShown(false);
}
