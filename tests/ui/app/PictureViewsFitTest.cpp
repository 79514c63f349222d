// Every picture view of the demo document opens fitted to what it shows,
// goes to 100 % and back to Fit by its keys and its bars' Fit button, and
// the map and world views toggle a cell grid that the settings keep.
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "grid/ui/CZoomView.h"
#include "grid/ui/ZoomScrollBar.h"
#include "kinds/animations/ui/CAnimationFrameEditor.h"
#include "kinds/animations/ui/CAnimationPreviewPane.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "kinds/maps/ui/CMapEditor.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "kinds/trajectories/ui/CTrajectoriesPanel.h"
#include "kinds/trajectories/ui/TrajectoryPlayer.h"
#include "kinds/worlds/CWorldPathBounds.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "kinds/worlds/ui/CWorldPreview.h"
#include "kinds/worlds/ui/CWorldsPanel.h"
#include "core/GroupIndex.h"
#include "ui/app/OpenedDemo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {
// Whether the content shows whole in the canvas, and fills it along one
// axis at least (a fit, not merely a small picture).
bool fitted(const CZoomView& view)
{
    const QRectF shown = view.transform().mapRect(view.fitContent());
    const QRectF canvas(QPointF(0, 0), QSizeF(view.canvas()->size()));
    const bool whole = canvas.adjusted(-1, -1, 1, 1).contains(shown);
    const bool fills = shown.width() >= canvas.width() * 0.9 || shown.height() >= canvas.height() * 0.9
                       || shown.width() >= canvas.width() - 2 * CZoomView::kFitMargin - 1
                       || shown.height() >= canvas.height() - 2 * CZoomView::kFitMargin - 1;
    return whole && fills;
}
} // namespace

TEST(PictureViews, OpenFittedGoToOneToOneAndBackAndToggleTheirGrid)
{
    OpenedDemo demo;
    ASSERT_TRUE(demo.opened);
    demo.show(1400, 900);
    CQuillopView& view = demo.view;
    auto panelOf = [&](int group) { return view.panel(CQuillopView::panelOfGroup(group)); };
    const struct {
        const char* name;
        int group;
        std::function<CZoomView*()> zoom;
        const char* gridSetting;  // null: no grid offered
    } cases[] = {
        {"bitmap", GroupBitmaps,
         [&] { return dynamic_cast<CBitmapsPanel&>(*panelOf(GroupBitmaps)).offsetPane()->view(); }, nullptr},
        {"animation", GroupAnimations,
         [&] { return dynamic_cast<CAnimationsPanel&>(*panelOf(GroupAnimations)).frameEditor()->previewPane()->view(); },
         nullptr},
        {"map", GroupMaps, [&] { return dynamic_cast<CMapsPanel&>(*panelOf(GroupMaps)).editor()->zoomView(); },
         CMapEditor::kGridSetting},
        {"world", GroupWorlds,
         [&] { return dynamic_cast<CWorldsPanel&>(*panelOf(GroupWorlds)).elementsView()->preview()->view(); },
         CWorldPreview::kGridSetting},
        {"trajectory", GroupTrajectories,
         [&] { return dynamic_cast<CTrajectoriesPanel&>(*panelOf(GroupTrajectories)).player()->view(); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.showPanel(CQuillopView::panelOfGroup(c.group), false);
        panelOf(c.group)->selectRow(0);
        QApplication::processEvents();
        CZoomView& zoom = *c.zoom();
        ASSERT_TRUE(zoom.canvas()->isVisible());
        EXPECT_FALSE(zoom.fitPending());
        EXPECT_TRUE(fitted(zoom)) << "opens fitted";

        zoom.canvas()->setFocus();
        QTest::keyClick(zoom.canvas(), Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_DOUBLE_EQ(zoom.zoomX(), 1.0);
        EXPECT_DOUBLE_EQ(zoom.zoomY(), 1.0);
        QTest::keyClick(zoom.canvas(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(fitted(zoom)) << "Ctrl+Shift+F";
        zoom.horizontalBar()->control(ZoomScrollBar::OneToOneButton)->click();
        EXPECT_DOUBLE_EQ(zoom.zoomX(), 1.0);
        zoom.verticalBar()->control(ZoomScrollBar::FitButton)->click();
        EXPECT_TRUE(fitted(zoom)) << "the bar's Fit button";

        ASSERT_EQ(zoom.gridButton() != nullptr, c.gridSetting != nullptr);
        if (!c.gridSetting)
            continue;
        const bool before = zoom.gridShown();
        for (bool expected : {!before, before}) {
            zoom.gridButton()->click();
            EXPECT_EQ(zoom.gridShown(), expected);
            EXPECT_EQ(zoom.gridButton()->isChecked(), expected);
            EXPECT_EQ(QSettings().value(QStringLiteral("Settings/") + c.gridSetting).toBool(), expected);
        }
        // A view made afresh takes the state kept.
        for (bool kept : {true, false}) {
            zoom.setGridShown(kept);
            CZoomView another(new QWidget);  // the view owns its canvas
            another.offerGrid(QString::fromLatin1(c.gridSetting));
            EXPECT_EQ(another.gridShown(), kept);
        }
    }

    // The world preview's Fit can take in where the elements go along their
    // paths, a choice kept like the grid's.
    view.showPanel(CQuillopView::panelOfGroup(GroupWorlds), false);
    CWorldPreview& preview = *dynamic_cast<CWorldsPanel&>(*panelOf(GroupWorlds)).elementsView()->preview();
    const QRect paths = CWorldPathBounds::over(demo.document.holder(), 0, preview.drawingOffset());
    ASSERT_FALSE(preview.drawnBounds().contains(paths)) << "the demo world has elements on the move";
    const bool before = preview.followsPaths();
    for (bool expected : {!before, before}) {
        preview.followPathsButton()->click();
        EXPECT_EQ(preview.followsPaths(), expected);
        EXPECT_EQ(QSettings().value(QStringLiteral("Settings/") + CWorldPreview::kFollowPathsSetting).toBool(), expected);
        const QRectF shown = preview.view()->transform().inverted().mapRect(QRectF(preview.rect()));
        EXPECT_EQ(shown.contains(QRectF(paths)), expected || preview.drawnBounds().contains(paths));
    }
}
