#include "AnalysisTestSignals.h"

#include "tools/analysis/CAnalysisView.h"
#include "tools/analysis/CBoundCurveDrawing.h"
#include "tools/analysis/CGradientColorMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {
struct Recorder {
    std::string log;
    std::string status;
    std::string title;
    int stopAfter = -1; // progress reports before answering "stop"
    int reports = 0;
    bool failed = false;

    CAnalysisHooks hooks()
    {
        CAnalysisHooks h;
        h.log = [this](const std::string& t) { log += t; };
        h.status = [this](const std::string& t) { status = t; };
        h.title = [this](const std::string& t) { title = t; };
        h.progress = [this](double, double) { return stopAfter < 0 || reports++ < stopAfter; };
        h.fail = [this] { failed = true; };
        return h;
    }
};

CSampleBuffer noise(std::uint32_t n, unsigned seed)
{
    CSampleBuffer b;
    b.resize(n);
    unsigned x = seed;
    for (std::uint32_t i = 0; i < n; ++i) {
        x = x * 1664525u + 1013904223u;
        b.set(i, static_cast<double>(x >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0);
    }
    return b;
}
} // namespace

TEST(GradientColorMap, DefaultStopsAndMappingRule)
{
    const CGradientColorMap map;
    EXPECT_EQ(map.colorAt(0.0), qRgb(0, 0, 0));
    EXPECT_EQ(map.colorAt(0.5), qRgb(0, 0, 0));
    EXPECT_EQ(map.colorAt(0.625), qRgb(0, 0, 128)); // 127.5 rounds away from zero
    EXPECT_EQ(map.colorAt(0.75), qRgb(0, 0, 255));
    EXPECT_EQ(map.colorAt(0.875), qRgb(128, 128, 255));
    EXPECT_EQ(map.colorAt(1.0), qRgb(255, 255, 255));
    // Clamped, and a value that is not a number reads as the bottom.
    EXPECT_EQ(map.colorAt(-3.0), qRgb(0, 0, 0));
    EXPECT_EQ(map.colorAt(7.0), qRgb(255, 255, 255));
    EXPECT_EQ(map.colorAt(std::nan("")), qRgb(0, 0, 0));
    // The editor's strip runs from the first stop to the last over its width.
    EXPECT_EQ(map.stripColor(10, 10, 101), map.colorAt(0.0));
    EXPECT_EQ(map.stripColor(110, 10, 101), map.colorAt(1.0));
    EXPECT_EQ(map.stripColor(97, 10, 101), map.colorAt(0.87));
}

TEST(GradientColorMap, EditingKeepsTheEndsAndTheOrder)
{
    CGradientColorMap map;
    EXPECT_FALSE(map.setPosition(0, 0.3));
    EXPECT_FALSE(map.setPosition(3, 0.3));
    EXPECT_FALSE(map.removeStop(0));
    EXPECT_FALSE(map.removeStop(3));
    // Moving the blue stop below the middle one re-sorts the stops.
    ASSERT_TRUE(map.setPosition(2, 0.25));
    EXPECT_EQ(map.stops()[1].position, 0.25);
    EXPECT_EQ(map.stops()[1].blue, 255);
    EXPECT_TRUE(map.setPosition(1, 5.0)); // clamped to 1, still before the end stop
    EXPECT_EQ(map.stops()[2].position, 1.0);
    EXPECT_EQ(map.stops().back().red, 255);

    CGradientColorMap edited;
    ASSERT_TRUE(edited.setChannel(1, 0, 127.5));
    EXPECT_EQ(edited.stops()[1].red, 128);
    ASSERT_TRUE(edited.setChannel(1, 1, 300.0));
    EXPECT_EQ(edited.stops()[1].green, 255);
    ASSERT_TRUE(edited.setChannel(1, 2, -4.0));
    EXPECT_EQ(edited.stops()[1].blue, 0);

    CGradientColorMap grown;
    const std::size_t at = grown.addStop(0.875);
    EXPECT_EQ(at, 3u);
    EXPECT_EQ(grown.count(), 5u);
    EXPECT_EQ(qRgb(grown.stops()[at].red, grown.stops()[at].green, grown.stops()[at].blue), qRgb(128, 128, 255));
    EXPECT_TRUE(grown.removeStop(at));
    EXPECT_TRUE(grown == CGradientColorMap());
}

TEST(AnalysisView, PreviewGeometryOfTenSecondsAtSixThousandHertz)
{
    CAnalysisView view;
    EXPECT_EQ(view.step(), 100);
    EXPECT_EQ(view.window(), 200);
    EXPECT_EQ(view.minimumLag(), 1);
    EXPECT_EQ(view.maximumLag(), 100);
    EXPECT_EQ(view.sampleRate(), 44100);

    view.configure(60000, 640, 200, 50, 44099.6);
    EXPECT_EQ(view.step(), 94);
    EXPECT_EQ(view.window(), 251);
    EXPECT_EQ(view.minimumLag(), 2);
    EXPECT_EQ(view.maximumLag(), 200);
    EXPECT_EQ(view.sampleRate(), 44100);

    Recorder r;
    const CSampleBuffer samples = noise(60000, 3);
    ASSERT_TRUE(view.soundAnalysis(samples, r.hooks()));
    EXPECT_EQ(view.columns(), 638);
    EXPECT_EQ(view.rows(), 199);
    EXPECT_EQ(r.title, "Sound Analysis");
    EXPECT_EQ(r.status, "Done");
    EXPECT_EQ(r.log, "View Width Is 638 Pixels, Height Is 199 Pixels\r\nAnalysis successfully done.\r\n");
    // Bound curves appear, one value per column, spanning every row.
    ASSERT_TRUE(view.hasBounds());
    EXPECT_EQ(view.lower().get(100), 0.0);
    EXPECT_EQ(view.upper().get(637), 198.0);
    // Each cell is the mean absolute difference of the window at its lag;
    // the last columns, whose windows would run past the end of the signal,
    // show the last one measured on a whole window.
    const std::int64_t lastWhole = (60000 - 251) / 94;
    for (std::int64_t c : {std::int64_t(0), std::int64_t(1), std::int64_t(300), lastWhole, lastWhole + 1, std::int64_t(637)})
        for (std::int64_t row : {0, 1, 57, 198}) {
            const std::int64_t lag = row + 2;
            const std::int64_t start = std::min(c, lastWhole) * 94;
            const double expected = samples.meanAbsoluteDifference(
                static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(start + lag),
                static_cast<std::uint32_t>(251 - lag));
            EXPECT_EQ(view.cell(c, row), expected) << c << " " << row;
        }
}

TEST(AnalysisView, ResultsLightTheMatchingLagAndThePictureShowsThem)
{
    // A tone of period 20 preview samples: the best row of every column is 18.
    CAnalysisView view;
    const CSampleBuffer samples = voiceLike({{300.0, 1.0}}, 6000.0);
    // Lags up to 30 only, so that no multiple of the period competes.
    view.configure(samples.count(), 64, 30, 10, 44100);
    Recorder r;
    ASSERT_TRUE(view.soundAnalysis(samples, r.hooks()));
    ASSERT_TRUE(view.analysisResults(r.hooks()));
    EXPECT_NE(r.log.find("Width Is 64 Pixels\r\nHeight Is 29 Pixels\r\nResults successfully normalized.\r\n"),
              std::string::npos);
    for (std::int64_t c = 0; c < view.columns() - 1; ++c) {
        double best = -1.0;
        std::int64_t bestRow = -1;
        double low = 2.0;
        for (std::int64_t row = 0; row < view.rows(); ++row) {
            low = std::min(low, view.cell(c, row));
            if (view.cell(c, row) > best) {
                best = view.cell(c, row);
                bestRow = row;
            }
        }
        EXPECT_EQ(bestRow, 18) << c;
        EXPECT_NEAR(best, 1.0, 1e-12);
        EXPECT_EQ(low, 0.0);
    }

    ASSERT_TRUE(view.bitmapView(r.hooks()));
    const QImage& picture = view.picture();
    ASSERT_EQ(picture.width(), view.columns());
    ASSERT_EQ(picture.height(), view.rows());
    // The best row is white, drawn counted from the bottom.
    EXPECT_EQ(picture.pixel(5, 29 - 1 - 18), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(7, 29 - 1 - 4), view.gradient().colorAt(view.cell(7, 4)));
    EXPECT_EQ(r.title, "Bitmap View");
    EXPECT_NE(r.log.find("View successfully built.\r\n"), std::string::npos);
}

TEST(AnalysisView, StoppedTasksSayTheyAreNotDone)
{
    CAnalysisView view;
    const CSampleBuffer samples = noise(6000, 9);
    view.configure(samples.count(), 100, 50, 0, 6000);
    Recorder r;
    r.stopAfter = 10;
    r.failed = false;
    EXPECT_FALSE(view.soundAnalysis(samples, r.hooks()));
    EXPECT_NE(r.log.find("Analysis not entirely done, stopped upon user request.\r\n"), std::string::npos);
    EXPECT_FALSE(r.failed); // a stop is not an error
    // The picture is not built from values that were never all computed...
    // but the arrays exist, so normalising and building may still run.
    Recorder again;
    again.stopAfter = 0;
    EXPECT_FALSE(view.analysisResults(again.hooks()));
    EXPECT_NE(again.log.find("Results not entirely normalized, stopped upon user request.\r\n"), std::string::npos);
    EXPECT_FALSE(view.bitmapView(again.hooks()));
    EXPECT_NE(again.log.find("View not entirely built, stopped upon user request.\r\n"), std::string::npos);

    // Nothing to analyse is an error, not a silent success.
    CAnalysisView empty;
    empty.configure(0, 640, 200, 50, 44100);
    Recorder e;
    EXPECT_FALSE(empty.soundAnalysis(CSampleBuffer(), e.hooks()));
    EXPECT_TRUE(e.failed);
    EXPECT_FALSE(empty.hasValues());
    EXPECT_FALSE(empty.optimiseMargins(3));
}

TEST(AnalysisView, MarginOptimisationKeepsTheBestRowAndItsMargins)
{
    CAnalysisView view;
    CSampleBuffer samples = noise(1000, 5);
    view.configure(samples.count(), 32, 32, 0, 8000); // 31 rows
    Recorder r;
    ASSERT_TRUE(view.soundAnalysis(samples, r.hooks()));
    ASSERT_TRUE(view.analysisResults(r.hooks()));
    const std::int64_t columns = view.columns();
    ASSERT_GT(columns, 3);

    // Column 0: search rows 0..6 only (its best row overall may lie elsewhere).
    view.lower().set(0, 6.0);
    view.upper().set(0, 0.0); // drawn upside down: rows from min(lo, hi) to hi
    view.lower().set(1, 0.0);
    view.upper().set(1, 30.0);
    ASSERT_TRUE(view.optimiseMargins(3.0));

    auto bestIn = [&](std::int64_t c, std::int64_t from, std::int64_t to) {
        std::int64_t best = from;
        for (std::int64_t j = from; j <= to; ++j)
            if (view.cell(c, j) > view.cell(c, best))
                best = j;
        return best;
    };
    // lo 6, hi 0: min(lo, hi) = 0 to hi = 0: only row 0 is looked at.
    EXPECT_EQ(view.lower().get(0), 0.0);
    EXPECT_EQ(view.upper().get(0), 3.0);
    const std::int64_t b1 = bestIn(1, 0, 30);
    EXPECT_EQ(view.lower().get(1), std::max<double>(0, b1 - 3));
    EXPECT_EQ(view.upper().get(1), std::min<double>(30, b1 + 3));

    // A best row of 2 with margin 3 gives 0 and 5; at the top the upper
    // bound stops at the last row.
    CAnalysisView tone;
    const CSampleBuffer t = voiceLike({{1500.0, 0.5}}, 6000.0); // period 4: row 2
    tone.configure(t.count(), 32, 32, 0, 6000);
    ASSERT_TRUE(tone.soundAnalysis(t, r.hooks()));
    ASSERT_TRUE(tone.analysisResults(r.hooks()));
    tone.setFlatBounds(0.0, 3.0);
    ASSERT_TRUE(tone.optimiseMargins(3.0));
    EXPECT_EQ(tone.lower().get(4), 0.0);
    EXPECT_EQ(tone.upper().get(4), 5.0);
    tone.setFlatBounds(30.0, 30.0);
    ASSERT_TRUE(tone.optimiseMargins(3.0));
    EXPECT_EQ(tone.lower().get(4), 27.0);
    EXPECT_EQ(tone.upper().get(4), 30.0);
}

TEST(BoundCurveDrawing, MovesDrawRampsCountedFromTheBottom)
{
    CSampleBuffer curve;
    curve.resize(10);
    CBoundCurveDrawing pen(curve, 10, 20);
    EXPECT_EQ(pen.pointAt(-5, -5), (CBoundCurveDrawing::Point{0, 19}));
    EXPECT_EQ(pen.pointAt(50, 50), (CBoundCurveDrawing::Point{9, 0}));

    pen.move(3, 3); // not pressed: nothing
    EXPECT_EQ(curve.get(3), 0.0);
    pen.press(2, 19); // row 0
    pen.move(6, 11);  // row 8: a ramp over columns 2..6
    EXPECT_EQ(curve.get(2), 0.0);
    EXPECT_EQ(curve.get(3), 2.0);
    EXPECT_EQ(curve.get(5), 6.0);
    EXPECT_EQ(curve.get(6), 8.0);
    pen.move(4, -40); // backwards, above the picture: row 19
    EXPECT_EQ(curve.get(4), 19.0);
    EXPECT_EQ(curve.get(5), 13.5);
    EXPECT_EQ(curve.get(6), 8.0);
    pen.release();
    pen.move(9, 0);
    EXPECT_EQ(curve.get(9), 0.0);
}
