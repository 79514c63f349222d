#include "kinds/trajectories/ui/TrajectoryPlayer.h"
#include "params/ui/CGuiColors.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/trajectories/PlayModes.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/trajectories/ui/CTrajectoriesPanel.h"
#include "kinds/trajectories/ui/CTrajectoryPlayerView.h"
#include "media/image/CDisplayBuffer.h"
#include "ui/MouseEvents.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QAction>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {
// A panel whose current trajectory has points at (0,0), (40,0), (40,30) and
// an offset of (5, 5).
struct TrajectoryPlayerFixture : ::testing::Test {
    TrajectoryPlayerFixture() : holder(createDocumentHolder())
    {
        Trajectory* t = traj(holder->newItem(GroupTrajectories, "path"));
        t->AddPoint(0, 0);
        t->AddPoint(40, 0);
        t->AddPoint(40, 30);
        t->SetOffsetX(5);
        t->SetOffsetY(5);
        holder->newItem(GroupTrajectories, "blank");
        panel.attach(holder.get(), &host);
        panel.setCurrentCell(CItemsGrid::kLeadingColumns, 0);
        player().resize(300, 200);
    }
    Trajectory* traj(int row) { return dynamic_cast<Trajectory*>(holder->get(GroupTrajectories, row)); }
    TrajectoryPlayer& player() { return *panel.player(); }
    CTrajectoryPlayerView& view() { return *panel.playerView(); }
    QImage picture()
    {
        QImage image(player().size(), QImage::Format_ARGB32);
        QPainter painter(&image);
        player().render(painter, image.size());
        return image;
    }
    // Where a world point of the current trajectory is drawn.
    QPoint screen(double x, double y) { return QPoint(int(x) + 5, int(y) + 5) - player().origin(); }

    ScriptedUi ui;
    std::unique_ptr<CResourceHolder> holder;
    RecordingPanelHost host;
    CTrajectoriesPanel panel;
};
} // namespace

TEST_F(TrajectoryPlayerFixture, GameStepsMoveTheObjectAtBothSpeeds)
{
    traj(0)->SetPlaySpeed(0.5);
    player().setSpeed(0.5);
    ASSERT_TRUE(panel.runGameStep());
    EXPECT_DOUBLE_EQ(player().clock().GetPosition(), 0.25);

    player().setSpeed(-1000);
    EXPECT_DOUBLE_EQ(player().speed(), -TrajectoryPlayer::kSpeedLimit);

    player().setSpeed(1.0);
    player().setPaused(true);
    EXPECT_FALSE(panel.runGameStep());
    EXPECT_DOUBLE_EQ(player().clock().GetPosition(), 0.25) << "a paused player holds still";
    player().setPaused(false);

    // A "Once" mode stops at the end: no more activity to draw.
    panel.editCell(CItemsGrid::kLeadingColumns + CTrajectoriesPanel::ColPlayMode, 0, "Forward Once");
    EXPECT_DOUBLE_EQ(player().clock().GetPosition(), 0.0) << "a mode edit restarts the clock";
    for (int i = 0; i < 4; ++i)
        panel.runGameStep();
    EXPECT_FALSE(panel.runGameStep());
    EXPECT_DOUBLE_EQ(player().clock().GetPosition(), 2.0);
}

TEST_F(TrajectoryPlayerFixture, ARowTakenByAnotherTrajectoryRestartsTheClock)
{
    panel.runGameStep();
    ASSERT_DOUBLE_EQ(player().clock().GetEnd(), 2.0);
    // Row 1 ("blank", no points) moves up into the current row.
    panel.swapItems(0, 1);
    panel.refresh();
    EXPECT_EQ(player().current(), traj(0));
    EXPECT_DOUBLE_EQ(player().clock().GetEnd(), 0.0);
    EXPECT_DOUBLE_EQ(player().clock().GetPosition(), 0.0);

    // A plain refresh of the same record keeps the object where it is.
    panel.swapItems(0, 1);
    panel.refresh();
    panel.runGameStep();
    panel.refresh();
    EXPECT_DOUBLE_EQ(player().clock().GetPosition(), 1.0);
}

TEST_F(TrajectoryPlayerFixture, DrawModeAppendsThePointUnderThePointer)
{
    ASSERT_EQ(player().interactionMode(), TrajectoryPlayer::DrawMode);
    const int modifiedBefore = host.modified;
    const QPoint at(150, 120);
    QTest::mousePress(&player(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(&player(), at); // the same spot: not added twice
    QTest::mouseMove(&player(), at + QPoint(10, 0));
    QTest::mouseRelease(&player(), Qt::LeftButton, Qt::NoModifier, at + QPoint(10, 0));
    QTest::mouseMove(&player(), at + QPoint(30, 0)); // not dragging any more

    ASSERT_EQ(traj(0)->GetPointCount(), 5);
    // The new points are drawn where the pointer was.
    const TrajectoryPoint added = traj(0)->GetPoint(3);
    EXPECT_EQ(screen(added.x, added.y), at);
    EXPECT_EQ(screen(traj(0)->GetPoint(4).x, traj(0)->GetPoint(4).y), at + QPoint(10, 0));
    EXPECT_DOUBLE_EQ(player().clock().GetEnd(), 4.0);
    EXPECT_GT(host.modified, modifiedBefore);
    EXPECT_EQ(panel.gridCellText(CItemsGrid::kLeadingColumns + CTrajectoriesPanel::ColSpecs, 0), "5 Points, 80 Bytes");

    // Without a current trajectory a click adds nothing anywhere.
    player().load(-1);
    QTest::mouseClick(&player(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(traj(0)->GetPointCount(), 5);
    EXPECT_EQ(traj(1)->GetPointCount(), 0);
}

TEST_F(TrajectoryPlayerFixture, PanModeDragsTheViewAndTogglesChooseTheMode)
{
    view().action("HideTrajectory")->trigger();
    EXPECT_TRUE(player().hideTrajectory());
    EXPECT_EQ(player().interactionMode(), TrajectoryPlayer::PanMode);
    EXPECT_EQ(player().cursor().shape(), Qt::SizeAllCursor);

    const QPoint before = player().origin();
    QTest::mousePress(&player(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(&player(), QPoint(130, 90));
    QTest::mouseRelease(&player(), Qt::LeftButton, Qt::NoModifier, QPoint(130, 90));
    EXPECT_EQ(player().origin(), before - QPoint(30, -10)) << "the picture follows the pointer";
    EXPECT_EQ(traj(0)->GetPointCount(), 3) << "pan mode adds no points";

    QTest::mouseDClick(&player(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(player().origin(), QPoint(0, 0));

    view().action("MoveViewCenterObject")->trigger();
    view().action("HideTrajectory")->trigger();
    EXPECT_EQ(player().interactionMode(), TrajectoryPlayer::PanMode) << "centring on the object still pans";
    view().action("MoveViewCenterObject")->trigger();
    EXPECT_EQ(player().interactionMode(), TrajectoryPlayer::DrawMode);
    EXPECT_EQ(player().cursor().shape(), Qt::ArrowCursor);

    player().setOrigin(QPoint(7, 7));
    view().action("MoveViewOrigin")->trigger();
    EXPECT_EQ(player().origin(), QPoint(0, 0));
}

TEST_F(TrajectoryPlayerFixture, PictureShowsEndsAxesAndFollowsTheObject)
{
    const QColor green(0, 255, 0), red(255, 0, 0);
    const QColor face = CGuiColors::instance().qcolor(CGuiColors::DialogFace);
    const QColor text = CGuiColors::instance().qcolor(CGuiColors::DialogText);
    // Moved away from the object square, which covers the first point.
    player().setOrigin(QPoint(-100, -60));
    QImage image = picture();
    EXPECT_EQ(image.pixelColor(screen(40, 30)), red);
    EXPECT_EQ(image.pixelColor(screen(40, 0)).rgb(), QColor(Qt::black).rgb()) << "a middle point's square";
    EXPECT_EQ(image.pixelColor(QPoint(99, 190)), text) << "the vertical axis through world x = 0";
    EXPECT_EQ(image.pixelColor(QPoint(290, 59)), text) << "the horizontal axis";

    // Hidden in pan mode: the ends stay, the rest of the path goes.
    player().setHideTrajectory(true);
    image = picture();
    EXPECT_EQ(image.pixelColor(screen(40, 30)), red);
    EXPECT_EQ(image.pixelColor(screen(40, 0)), face);
    EXPECT_EQ(image.pixelColor(screen(40, 15)), face) << "no line either";

    // Centring on the object draws it in the middle whatever the origin.
    player().setCentreOnObject(true);
    for (int i = 0; i < 3; ++i)
        panel.runGameStep();
    image = picture();
    EXPECT_EQ(image.pixelColor(QPoint(150, 100)), CGuiColors::instance().qcolor(CGuiColors::DialogSpottedFace));
    player().setHideTrajectory(false);
    player().setCentreOnObject(false);

    // The green square shows once the object has moved on.
    image = picture();
    EXPECT_EQ(image.pixelColor(screen(0, 0)), green);

    // Without a trajectory only the axes are drawn.
    player().load(-1);
    image = picture();
    EXPECT_EQ(image.pixelColor(QPoint(99, 150)), text);
    EXPECT_EQ(image.pixelColor(screen(40, 30)), face);
}

TEST_F(TrajectoryPlayerFixture, ZoomedViewsDrawWhereThePointerIsAndWheelZoomsAboutIt)
{
    const QColor red(255, 0, 0);
    CZoomView& zoom = *player().view();
    // A click adds the whole world unit under it, drawn back under it.
    const struct {
        double zoom;
        QPoint click;
        QPointF point;
    } cases[] = {{1.0, {150, 120}, {45, 55}}, {2.0, {150, 120}, {-30, -5}}, {2.0, {151, 121}, {-30, -5}},
                 {0.5, {150, 120}, {195, 175}}, {4.0, {9, 9}, {-103, -63}}};
    for (const auto& c : cases) {
        player().setOrigin(QPoint(-100, -60));
        zoom.zoomAbout(c.zoom, QPointF(0, 0));
        ASSERT_EQ(player().origin(), QPoint(-100, -60));
        QTest::mouseClick(&player(), Qt::LeftButton, Qt::NoModifier, c.click);
        const int last = traj(0)->GetPointCount() - 1;
        const TrajectoryPoint p = traj(0)->GetPoint(last);
        EXPECT_EQ(QPointF(p.x, p.y), c.point) << c.zoom << " " << c.click.x();
        EXPECT_EQ(picture().pixelColor(c.click), red) << "the new last point is drawn there, at zoom " << c.zoom;
    }

    // Ctrl+wheel zooms about the pointer: the world point under it stays.
    zoom.zoomAbout(1.0, QPointF(0, 0));
    const QPointF pointer(150, 100);
    const QPointF under = zoom.toContent(pointer);
    for (int notches : {3, -5}) {
        sendWheel(player(), pointer.toPoint(), 120 * notches, Qt::ControlModifier);
        EXPECT_NEAR(zoom.zoomX(), std::pow(CZoomView::kWheelZoom, notches == 3 ? 3 : -2), 1e-9);
        EXPECT_NEAR(zoom.toContent(pointer).x(), under.x(), 1e-9);
        EXPECT_NEAR(zoom.toContent(pointer).y(), under.y(), 1e-9);
    }
}

TEST_F(TrajectoryPlayerFixture, PlaySpeedControlsDragAndPrompt)
{
    EXPECT_EQ(view().speedText(), "100.00 %  ");
    view().dragSpeed(-50);
    EXPECT_DOUBLE_EQ(player().speed(), 1.5);
    EXPECT_EQ(view().speedText(), "150.00 %  ");

    EXPECT_FALSE(view().promptPlaySpeed());
    ASSERT_EQ(ui.values.requests.size(), 1u);
    EXPECT_EQ(ui.values.requests[0].title, "Set Play Speed");
    EXPECT_EQ(ui.values.requests[0].prompt, "Play Speed in Percentage (-10000 to 10000)");
    EXPECT_EQ(ui.values.requests[0].offered, "150.00");
    EXPECT_DOUBLE_EQ(player().speed(), 1.5) << "Cancel keeps the speed";

    ui.values.answers = {"20000", "-25x"};
    EXPECT_TRUE(view().promptPlaySpeed());
    EXPECT_DOUBLE_EQ(player().speed(), 100.0) << "the player speed stays within 100 times";
    EXPECT_EQ(view().speedText(), "10000.00 %  ");
    view().promptPlaySpeed();
    EXPECT_DOUBLE_EQ(player().speed(), -0.25);

    // Every tool bar command is there with its tip.
    const char* commands[] = {"MoveViewOrigin", "MoveViewCenterTrajectory", "MoveViewCenterObject", "HideTrajectory",
                              "SetPlaySpeed",   "ChoseBmpBackground",       "ChoseBmpObject"};
    for (const char* command : commands) {
        ASSERT_NE(view().action(command), nullptr) << command;
        EXPECT_FALSE(view().action(command)->toolTip().isEmpty()) << command;
    }
}

TEST_F(TrajectoryPlayerFixture, CentringTheTrajectoryPutsItsBoundsInTheMiddle)
{
    view().action("MoveViewCenterTrajectory")->trigger();
    // The path spans x 0..40 and y 0..30, drawn shifted by its offset.
    const QPoint topLeft = screen(0, 0);
    const int left = topLeft.x();
    const int right = player().width() - (topLeft.x() + 41);
    EXPECT_LE(std::abs(left - right), 1);
    const int top = topLeft.y();
    const int bottom = player().height() - (topLeft.y() + 31);
    EXPECT_LE(std::abs(top - bottom), 1);
}

TEST_F(TrajectoryPlayerFixture, ChosenBitmapsAreDrawnBehindAndAsTheObject)
{
    const QColor backColor(10, 20, 200), objectColor(250, 0, 250);
    auto addBitmap = [&](int side, const QColor& color) {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(color);
        const int row = holder->newItem(GroupBitmaps, "b");
        dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, row))->attachImage(image);
    };
    addBitmap(30, backColor);
    addBitmap(6, objectColor);

    panel.runGameStep();
    player().setBackgroundBitmap(1);
    player().setObjectBitmap(2);
    EXPECT_DOUBLE_EQ(player().clock().GetPosition(), 0.0) << "choosing a bitmap reloads the trajectory";
    player().setOrigin(QPoint(-100, -60));
    const QImage image = picture();
    const QPoint zero(100, 60);
    EXPECT_EQ(image.pixelColor(zero + QPoint(20, 25)), backColor) << "the background starts at world (0, 0)";
    // The object is at the first point, (5, 5) with the offset; its picture
    // replaces the square drawn when there is none.
    EXPECT_EQ(image.pixelColor(zero + QPoint(9, 9)), objectColor);
    EXPECT_EQ(image.pixelColor(zero + QPoint(13, 13)), backColor);

    player().setObjectBitmap(0);
    EXPECT_EQ(picture().pixelColor(zero + QPoint(13, 13)),
              CGuiColors::instance().qcolor(CGuiColors::DialogSpottedFace));
}
