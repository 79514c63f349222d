#include "kinds/trajectories/CTrajectoryRegion.h"
#include "kinds/trajectories/Trajectory.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
void fill(Trajectory& t, const std::vector<TrajectoryPoint>& points, bool closed = false)
{
    for (const auto& p : points)
        t.AddPoint(p.x, p.y);
    t.SetClosedShape(closed);
}

void expectPoints(const Trajectory& t, const std::vector<TrajectoryPoint>& expected, double tolerance = 1e-12)
{
    ASSERT_EQ(t.GetPointCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < t.GetPointCount(); ++i) {
        EXPECT_NEAR(t.GetPoint(i).x, expected[static_cast<std::size_t>(i)].x, tolerance) << "point " << i;
        EXPECT_NEAR(t.GetPoint(i).y, expected[static_cast<std::size_t>(i)].y, tolerance) << "point " << i;
    }
}
} // namespace

TEST(Trajectory, NewRecordDefaultsAndEmptyPath)
{
    Trajectory t;
    t.SetOffsetX(7);
    EXPECT_EQ(t.GetPlayMode(), 1);
    EXPECT_EQ(t.GetType(), 0);
    EXPECT_EQ(t.GetPlaySpeed(), 1.0);
    EXPECT_FALSE(t.IsClosedShape());
    EXPECT_EQ(t.XAt(3.5), 7.0);
    EXPECT_EQ(t.YAt(-2.0), 0.0);
    t.UpdateBounds();
    EXPECT_EQ(t.GetMinX(), 0.0);
    EXPECT_EQ(t.GetMaxX(), 0.0);
    EXPECT_EQ(t.GetMinY(), 1.0);
    EXPECT_EQ(t.GetMaxY(), 1.0);
    t.UpdateCenterOfMass();
    EXPECT_EQ(t.GetCenterOfMass(), (TrajectoryPoint{0, 0}));

    FixedKeySource noise({100, 200});
    t.Smooth(10);
    t.Quantify(1);
    t.AddNoise(5, noise);
    t.Resample(3);
    EXPECT_EQ(t.GetPointCount(), 0);
    EXPECT_EQ(t.specsText(), "0 Points, 0 Bytes");
}

TEST(Trajectory, PathEvaluationInterpolatesAndClampsAtTheEnds)
{
    Trajectory t;
    fill(t, {{0, 0}, {10, 20}, {30, -20}});
    t.SetOffsetX(100);
    t.SetOffsetY(-1);
    EXPECT_DOUBLE_EQ(t.PathXAt(0.25), 2.5);
    EXPECT_DOUBLE_EQ(t.PathYAt(1.5), 0.0);
    EXPECT_DOUBLE_EQ(t.XAt(1.5), 120.0);
    EXPECT_DOUBLE_EQ(t.YAt(1.0), 19.0);
    // The last index and anything past it is the last point.
    EXPECT_DOUBLE_EQ(t.PathXAt(2.0), 30.0);
    EXPECT_DOUBLE_EQ(t.PathXAt(2.7), 30.0);
    EXPECT_DOUBLE_EQ(t.PathXAt(1e300), 30.0);
    // Truncation toward zero: -0.5 falls into the first segment and
    // extrapolates; -1 and below clamp to the first point.
    EXPECT_DOUBLE_EQ(t.PathXAt(-0.5), -5.0);
    EXPECT_DOUBLE_EQ(t.PathXAt(-1.0), 0.0);
    EXPECT_DOUBLE_EQ(t.PathXAt(-1e300), 0.0);
    EXPECT_DOUBLE_EQ(t.PathXAt(std::nan("")), 0.0);

    Trajectory one;
    fill(one, {{4, 5}});
    EXPECT_EQ(one.PathXAt(-3), 4.0);
    EXPECT_EQ(one.PathYAt(9), 5.0);
}

TEST(Trajectory, PointAccessOutsideThePathIsHarmless)
{
    Trajectory t;
    fill(t, {{1, 2}});
    EXPECT_EQ(t.SetPoint(1, 9, 9), 0);
    EXPECT_EQ(t.SetPoint(-1, 9, 9), 0);
    EXPECT_EQ(t.GetPoint(5), (TrajectoryPoint{0, 0}));
    EXPECT_EQ(t.SetPoint(0, 3, 4), 1);
    EXPECT_EQ(t.GetPoint(0), (TrajectoryPoint{3, 4}));
}

TEST(Trajectory, ClosingAndOpeningShapes)
{
    Trajectory t;
    fill(t, {{0, 0}, {4, 0}, {4, 4}});
    t.SetClosedShape(true);
    expectPoints(t, {{0, 0}, {4, 0}, {4, 4}, {0, 0}});
    // Closing twice adds nothing more.
    t.SetClosedShape(true);
    EXPECT_EQ(t.GetPointCount(), 4);
    // A new point goes before the closing point.
    t.AddPoint(0, 4);
    expectPoints(t, {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}});
    t.SetClosedShape(false);
    expectPoints(t, {{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    t.SetClosedShape(false);
    EXPECT_EQ(t.GetPointCount(), 4);

    // One point: closing adds nothing, and the next point replaces it.
    Trajectory single;
    fill(single, {{1, 1}}, true);
    EXPECT_TRUE(single.IsClosedShape());
    EXPECT_EQ(single.GetPointCount(), 1);
    single.AddPoint(2, 3);
    expectPoints(single, {{2, 3}, {2, 3}});

    Trajectory empty;
    empty.SetClosedShape(true);
    EXPECT_TRUE(empty.IsClosedShape());
    EXPECT_EQ(empty.GetPointCount(), 0);
    empty.AddPoint(5, 5);
    expectPoints(empty, {{5, 5}});
}

TEST(Trajectory, CentreOfMassCountsTheClosingPointAndBoundsIgnoreTheOffset)
{
    Trajectory t;
    fill(t, {{0, 0}, {6, 0}, {6, 3}}, true);
    t.SetOffsetX(50);
    t.UpdateCenterOfMass();
    EXPECT_DOUBLE_EQ(t.GetCenterOfMass().x, 3.0);   // (0 + 6 + 6 + 0) / 4
    EXPECT_DOUBLE_EQ(t.GetCenterOfMass().y, 0.75);  // (0 + 0 + 3 + 0) / 4
    EXPECT_EQ(t.specsText(), "4 Points, 64 Bytes");
    t.SetType(TrajectoryCollisionTest);
    EXPECT_EQ(t.specsText(), "4 Points, 64 Bytes, Mass Center[ 3.000, 0.750 ]");

    Trajectory b;
    fill(b, {{2, -1}, {-3, 5}, {7, 2}});
    b.UpdateBounds();
    EXPECT_EQ(b.GetMinX(), -3.0);
    EXPECT_EQ(b.GetMaxX(), 7.0);
    EXPECT_EQ(b.GetMinY(), -1.0);
    EXPECT_EQ(b.GetMaxY(), 5.0);
}

TEST(Trajectory, QuantifyTruncatesTowardZeroAndRefreshesTheClosingPoint)
{
    Trajectory t;
    fill(t, {{-1.7, 2.9}, {5.5, -0.2}});
    t.Quantify(1);
    expectPoints(t, {{-1, 2}, {5, -0}});

    Trajectory g;
    fill(g, {{7.9, -7.9}, {12.0, 3.0}});
    g.Quantify(2.5);
    expectPoints(g, {{7.5, -7.5}, {10, 2.5}});

    // A closed shape: the closing point follows the snapped first point.
    Trajectory c;
    fill(c, {{1.6, 1.6}, {3.2, 0}, {0, 3.7}}, true);
    c.SetPoint(3, 99, 99);  // a stale closing point is refreshed, not snapped
    c.Quantify(1);
    expectPoints(c, {{1, 1}, {3, 0}, {0, 3}, {1, 1}});

    // Grids below the lower bound (or not a number) clamp to 0.001.
    Trajectory tiny;
    fill(tiny, {{1.23456, 0}});
    tiny.Quantify(0);
    EXPECT_NEAR(tiny.GetPoint(0).x, 1.234, 1e-12);
    tiny.Quantify(std::nan(""));
    EXPECT_NEAR(tiny.GetPoint(0).x, 1.234, 1e-12);
}

TEST(Trajectory, AddNoiseDisplacesWithinHalfTheLevel)
{
    Trajectory t;
    fill(t, {{10, 10}, {20, 20}, {30, 10}}, true);
    FixedKeySource source({0, 32767, 16383, 8192, 99999, 12345});
    t.AddNoise(4, source);
    ASSERT_EQ(source.seeds.size(), 1u);  // seeded once per call
    const auto shift = [](int r) { return 4 * (r / 32767.0 - 0.5); };
    expectPoints(t, {{10 + shift(0), 10 + shift(32767)},
                     {20 + shift(16383), 20 + shift(8192)},
                     {30 + shift(99999 % 32768), 10 + shift(12345)},
                     {10 + shift(0), 10 + shift(32767)}});
    EXPECT_DOUBLE_EQ(t.GetPoint(0).x, 8.0);
    EXPECT_DOUBLE_EQ(t.GetPoint(0).y, 12.0);

    // The program's own generator stays within the same bounds.
    Trajectory many;
    for (int i = 0; i < 200; ++i)
        many.AddPoint(i, -i);
    many.AddNoise(0.5);
    for (int i = 0; i < 200; ++i) {
        EXPECT_LE(std::abs(many.GetPoint(i).x - i), 0.25);
        EXPECT_LE(std::abs(many.GetPoint(i).y + i), 0.25);
    }
}

TEST(Trajectory, SmoothOpenPathKeepsItsEndsAnchored)
{
    // R = 2, r = 0.5: windows [0,2], [0.5,2.5], [1,3], [1.5,3.5], [2,4].
    Trajectory t;
    fill(t, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {10, 4}});
    t.Smooth(2);
    expectPoints(t, {{1, 0}, {1.5, 0}, {2, 0}, {3.5, 2.0 / 3}, {5, 4.0 / 3}});

    // A range above n / 2 is cut down to it: on 4 points R = 2, r = 2/3.
    Trajectory four;
    fill(four, {{0, 0}, {3, 0}, {6, 0}, {9, 9}});
    four.Smooth(10);
    // i = 1: lo = 1/3, hi = 7/3 -> x 1, 4, 7; y 0, 0, 3.
    // i = 2: lo = 2/3, hi = 8/3 -> x 2, 5, 8; y 0, 0, 6.
    expectPoints(four, {{3, 0}, {4, 1}, {5, 2}, {6, 3}}, 1e-9);

    // A range below 2 is raised to 2.
    Trajectory low;
    fill(low, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {10, 4}});
    low.Smooth(-5);
    expectPoints(low, {{1, 0}, {1.5, 0}, {2, 0}, {3.5, 2.0 / 3}, {5, 4.0 / 3}});
}

TEST(Trajectory, SmoothClosedShapeWrapsOverTheClosingPoint)
{
    Trajectory t;
    fill(t, {{0, 0}, {4, 0}, {4, 4}, {0, 4}}, true);
    ASSERT_EQ(t.GetPointCount(), 5);
    t.Smooth(2);
    // Means of forward windows of three: q0 = (8/3, 4/3), q1 = (8/3, 8/3),
    // q2 = (4/3, 8/3), q3 = (4/3, 4/3), q4 = q0; re-adding drops q0.
    const double a = 4.0 / 3, b = 8.0 / 3;
    expectPoints(t, {{b, b}, {a, b}, {a, a}, {b, a}, {b, b}}, 1e-12);
    EXPECT_TRUE(t.IsClosedShape());

    // Three points or fewer are left alone.
    Trajectory small;
    fill(small, {{0, 0}, {4, 0}, {0, 4}});
    small.Smooth(2);
    expectPoints(small, {{0, 0}, {4, 0}, {0, 4}});
}

TEST(Trajectory, ResampleStraightLine)
{
    Trajectory t;
    fill(t, {{0, 0}, {10, 0}});
    t.SetOffsetX(3);
    t.SetType(TrajectoryPolygonToRegion);
    t.SetCenterOfMass(1, 2);
    t.Resample(3);
    // Each sample lies one probe (0.03) past the spacing; the last 0.91 of
    // the line is shorter than the spacing and gives no point.
    expectPoints(t, {{0, 0}, {3.03, 0}, {6.06, 0}, {9.09, 0}}, 0.035);
    EXPECT_EQ(t.GetOffsetX(), 3);
    EXPECT_EQ(t.GetType(), TrajectoryPolygonToRegion);
    EXPECT_EQ(t.GetCenterOfMass(), (TrajectoryPoint{1, 2}));
}

TEST(Trajectory, ResampleSpacingFollowsCornersAndClosedShapes)
{
    Trajectory t;
    fill(t, {{0, 0}, {100, 0}, {100, 100}});
    t.Resample(10);
    ASSERT_GE(t.GetPointCount(), 19);
    for (int i = 1; i < t.GetPointCount(); ++i) {
        const auto p = t.GetPoint(i - 1), q = t.GetPoint(i);
        const double d = std::hypot(q.x - p.x, q.y - p.y);
        // The first probe at or past the spacing, plus one probe of 0.1.
        EXPECT_GE(d, 10 - 1e-9);
        EXPECT_LE(d, 10.2 + 1e-9);
    }

    // A closed square keeps the closing-point invariant and starts at the
    // second sample.
    Trajectory c;
    fill(c, {{0, 0}, {40, 0}, {40, 40}, {0, 40}}, true);
    c.Resample(10);
    ASSERT_GT(c.GetPointCount(), 10);
    EXPECT_EQ(c.GetPoint(0), c.GetPoint(c.GetPointCount() - 1));
    EXPECT_NEAR(c.GetPoint(0).x, 10.1, 0.05);
    EXPECT_NEAR(c.GetPoint(0).y, 0.0, 1e-12);
}

TEST(Trajectory, ResampleOfAPathWithoutLengthEnds)
{
    Trajectory one;
    fill(one, {{3, 4}});
    one.Resample(3);
    expectPoints(one, {{3, 4}});

    Trajectory same;
    fill(same, {{2, 2}, {2, 2}, {2, 2}});
    same.Resample(0.5);
    expectPoints(same, {{2, 2}, {2, 2}, {2, 2}});

    Trajectory broken;
    fill(broken, {{0, 0}, {std::nan(""), 1}, {1e308, -1e308}});
    broken.Resample(1);
    EXPECT_EQ(broken.GetPointCount(), 3);

    // A spacing tiny next to the longest segment would take hours: refused.
    Trajectory huge;
    fill(huge, {{0, 0}, {1e9, 0}});
    huge.Resample(0.01);
    expectPoints(huge, {{0, 0}, {1e9, 0}});
}

TEST(Trajectory, RegionPolygonTruncatesAndRepeatsTheFirstPoint)
{
    Trajectory two;
    fill(two, {{0, 0}, {5, 5}});
    EXPECT_TRUE(two.regionPolygon().isEmpty());
    EXPECT_TRUE(two.region().isEmpty());

    Trajectory t;
    fill(t, {{0.9, -0.9}, {10.5, 0}, {10, 10.99}, {0, 10}});
    const QPolygon polygon = t.regionPolygon();
    ASSERT_EQ(polygon.size(), 5);
    EXPECT_EQ(polygon[0], QPoint(0, 0));
    EXPECT_EQ(polygon[2], QPoint(10, 10));
    EXPECT_EQ(polygon[4], QPoint(0, 0));
    const QRegion region = t.region();
    EXPECT_TRUE(region.contains(QPoint(5, 5)));
    EXPECT_FALSE(region.contains(QPoint(15, 5)));
}

TEST(Trajectory, SelectionToRegionUnitesOnlyRealOutlines)
{
    Trajectory line;
    line.setId("Line");
    fill(line, {{0, 0}, {50, 50}});
    Trajectory square;
    square.setId("Square");
    fill(square, {{10, 10}, {20, 10}, {20, 20}, {10, 20}});

    CTrajectoryRegion converted;
    EXPECT_EQ(converted.comments(), "Trajectories");
    converted.add(line);
    converted.add(square);
    EXPECT_EQ(converted.comments(), "Trajectories: Line, Square");
    EXPECT_EQ(converted.region(), QRegion(square.regionPolygon(), Qt::OddEvenFill));
    EXPECT_TRUE(converted.region().contains(QPoint(15, 15)));
    EXPECT_FALSE(converted.region().contains(QPoint(30, 30)));

    // Even-odd filling: a star drawn in one stroke leaves its centre empty.
    Trajectory star;
    star.setId("Star");
    fill(star, {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}});
    CTrajectoryRegion starRegion;
    starRegion.add(star);
    EXPECT_FALSE(starRegion.region().contains(QPoint(50, 50)));
    EXPECT_TRUE(starRegion.region().contains(QPoint(50, 10)));
}
