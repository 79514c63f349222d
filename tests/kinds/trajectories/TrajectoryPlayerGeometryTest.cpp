#include "kinds/trajectories/TrajectoryPlayerGeometry.h"
#include "kinds/trajectories/PlayClock.h"
#include "kinds/trajectories/PlayModes.h"
#include "kinds/trajectories/Trajectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace G = TrajectoryPlayerGeometry;

TEST(TrajectoryPlayerGeometry, PointerLandsOnTheWorldPointWithoutTheOffset)
{
    // Drawn point p appears at p + offset; the pointer goes back to the
    // whole unit it is over (zoomed in, a pixel is part of a unit).
    const struct {
        QPointF world;
        QPointF point;
    } cases[] = {{{-84, 50}, {-89, 57}}, {{2.75, -0.25}, {-3, 6}}, {{1e300, -1e300}, {}}};
    for (const auto& c : cases) {
        const QPointF p = G::pointUnderPointer(c.world, 5, -7);
        if (std::abs(c.world.x()) > 1e9)
            EXPECT_TRUE(std::isfinite(p.x()) && std::abs(p.x()) < 1e10 && std::abs(p.y()) < 1e10) << "kept finite";
        else
            EXPECT_EQ(p, c.point) << c.world.x();
    }
}

TEST(TrajectoryPlayerGeometry, AppendSkipsARepeatOfTheLastPoint)
{
    Trajectory t;
    EXPECT_TRUE(G::appendPoint(t, QPointF(1, 2)));
    EXPECT_FALSE(G::appendPoint(t, QPointF(1, 2)));
    EXPECT_TRUE(G::appendPoint(t, QPointF(1, 3)));
    EXPECT_TRUE(G::appendPoint(t, QPointF(1, 2))) << "only the last point counts";
    EXPECT_EQ(t.GetPointCount(), 3);

    // On a closed shape the last stored point is the closing point.
    Trajectory closed;
    closed.AddPoint(0, 0);
    closed.AddPoint(5, 0);
    closed.SetClosedShape(true);
    EXPECT_FALSE(G::appendPoint(closed, QPointF(0, 0)));
    EXPECT_TRUE(G::appendPoint(closed, QPointF(5, 5)));
    EXPECT_EQ(closed.GetPointCount(), 4);
}

TEST(TrajectoryPlayerGeometry, CentringLeavesEqualRoomOnBothSides)
{
    struct Case {
        QSize client;
        double minX, maxX, minY, maxY;
        int offsetX, offsetY;
    };
    const Case cases[] = {
        {{200, 100}, 10, 50, -20, 30, 0, 0},
        {{201, 99}, -300, -250, 7, 7, 0, 0},
        {{40, 40}, 0, 100, 0, 100, 0, 0},         // larger than the window: it overhangs evenly
        {{200, 100}, 10, 50, -20, 30, 500, -300}, // drawn far from its points
    };
    for (const Case& c : cases) {
        Trajectory t;
        t.AddPoint(c.minX, c.maxY);
        t.AddPoint(c.maxX, c.minY);
        t.SetOffsetX(c.offsetX);
        t.SetOffsetY(c.offsetY);
        const QPoint origin = G::centredOrigin(t, c.client);
        // Pixels left of / above the path as drawn and right of / below it.
        const int left = int(c.minX) + c.offsetX - origin.x();
        const int right = c.client.width() - (int(c.maxX) + c.offsetX - origin.x() + 1);
        const int top = int(c.minY) + c.offsetY - origin.y();
        const int bottom = c.client.height() - (int(c.maxY) + c.offsetY - origin.y() + 1);
        EXPECT_LE(std::abs(left - right), 1) << left << " " << right;
        EXPECT_LE(std::abs(top - bottom), 1) << top << " " << bottom;
    }
    // Far-away paths do not overflow.
    Trajectory far;
    far.AddPoint(1e300, -1e300);
    const QPoint origin = G::centredOrigin(far, QSize(100, 100));
    EXPECT_GT(origin.x(), 0);
    EXPECT_LT(origin.y(), 0);
}

TEST(TrajectoryPlayerGeometry, ObjectCentringPutsItInTheMiddle)
{
    const QSize client(300, 201);
    const QPoint object(-40, 75);
    const QPoint zero = G::screenZeroForObject(object, client);
    EXPECT_EQ(zero + object, QPoint(150, 100));
}

TEST(TrajectoryPlayerGeometry, LoadingSpansThePointsAndRestarts)
{
    Trajectory t;
    for (int i = 0; i < 5; ++i)
        t.AddPoint(i, i);
    t.SetPlayMode(PlayBackwardOnce);
    PlayClock clock;
    clock.Stop();
    clock.SetPosition(0.5);
    G::loadClock(clock, &t);
    EXPECT_EQ(clock.GetPlayMode(), PlayBackwardOnce);
    EXPECT_DOUBLE_EQ(clock.GetStart(), 0.0);
    EXPECT_DOUBLE_EQ(clock.GetEnd(), 4.0);
    EXPECT_DOUBLE_EQ(clock.GetPosition(), 4.0) << "a backward mode starts at the end";
    EXPECT_TRUE(clock.IsPlaying());

    Trajectory empty;
    G::loadClock(clock, &empty);
    EXPECT_DOUBLE_EQ(clock.GetEnd(), 0.0);
    EXPECT_EQ(clock.Advance(1.0), 1) << "an empty path plays without moving anywhere";
    G::loadClock(clock, nullptr);
    EXPECT_DOUBLE_EQ(clock.GetEnd(), 0.0);
}
