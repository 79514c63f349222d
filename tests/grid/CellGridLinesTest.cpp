#include "grid/CCellGridLines.h"

#include <gtest/gtest.h>

// The lines a canvas shows: only those in the window, cut to the bounds,
// placed through the view, and none where cells would be specks.
TEST(CellGridLines, OnlyTheLinesTheWindowShows)
{
    const struct {
        const char* what;
        QSizeF cell;
        QRectF bounds;
        QTransform view;
        std::vector<double> xs;  // vertical lines, in canvas pixels
        std::vector<double> ys;
    } cases[] = {
        {"unbounded, zoom 1", {32, 32}, {}, {}, {0, 32, 64, 96}, {0, 32, 64, 96}},
        {"bounded to a 2 x 1 map", {32, 32}, {0, 0, 64, 32}, {}, {0, 32, 64}, {0, 32}},
        {"scrolled by 10", {32, 32}, {}, QTransform::fromTranslate(-10, -10), {22, 54, 86}, {22, 54, 86}},
        {"zoom 2 of 16 x 8 cells", {16, 8}, {}, QTransform::fromScale(2, 2), {0, 32, 64, 96}, {0, 16, 32, 48, 64, 80, 96}},
        {"cells of 3 pixels on screen", {3, 3}, {}, {}, {}, {}},
        {"zoomed out to specks", {32, 32}, {}, QTransform::fromScale(0.1, 0.1), {}, {}},
        {"bounds out of the window", {32, 32}, {200, 200, 64, 64}, {}, {}, {}},
        {"no cell", {0, 32}, {}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        std::vector<double> xs, ys;
        for (const QLineF& line : CCellGridLines::lines(c.cell, c.bounds, c.view, QSize(100, 100))) {
            if (line.x1() == line.x2())
                xs.push_back(line.x1());
            else
                ys.push_back(line.y1());
        }
        EXPECT_EQ(xs, c.xs) << c.what;
        EXPECT_EQ(ys, c.ys) << c.what;
    }
}
