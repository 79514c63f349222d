#include "grid/CZoomScrollAxis.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
using Axis = CZoomScrollAxis;
using Notice = CZoomScrollAxis::Notice;

struct AxisCase {
    const char* name;
    double start, end, pixels;
    bool free;
    std::function<Notice(Axis&)> act;
    double position, zoom;
    Notice notice;
    // Checked when track > 0.
    int track = 0, thumbStart = 0, thumbLength = 0;
};

Notice runAll(Axis& axis, std::initializer_list<Axis::Command> commands)
{
    Notice last = Notice::None;
    for (Axis::Command c : commands)
        last = axis.run(c);
    return last;
}
} // namespace

TEST(ZoomScrollAxis, CommandsClampingAndThumb)
{
    const AxisCase cases[] = {
        {"three zooms in", 0, 1000, 100, false, [](Axis& a) { return runAll(a, {Axis::ZoomIn, Axis::ZoomIn, Axis::ZoomIn}); },
         50 - 50 * 27.0 / 64.0, 64.0 / 27.0, Notice::Zoomed},
        {"three in, one out", 0, 1000, 100, false,
         [](Axis& a) { return runAll(a, {Axis::ZoomIn, Axis::ZoomIn, Axis::ZoomIn, Axis::ZoomOut}); }, 50 - 50 * 9.0 / 16.0, 16.0 / 9.0,
         Notice::Zoomed},
        {"in then out shows the same part", 0, 1000, 100, false,
         [](Axis& a) {
             a.scrollTo(300);
             return runAll(a, {Axis::ZoomIn, Axis::ZoomOut});
         },
         300, 1.0, Notice::Zoomed},
        {"page forward on a reversed axis goes down", 100, 0, 50, false, [](Axis& a) { return a.run(Axis::PageForward); },
         50, 1.0, Notice::Scrolled, 100, 50, 50},
        {"reversed axis stops at its end", 100, 0, 50, false,
         [](Axis& a) { return runAll(a, {Axis::PageForward, Axis::PageForward}); }, 50, 1.0, Notice::None},
        {"reversed axis back to its start", 100, 0, 30, false,
         [](Axis& a) { return runAll(a, {Axis::StepForward, Axis::PageBack}); }, 100, 1.0, Notice::Scrolled},
        {"small content: a button puts it at the start", 0, 100, 400, false,
         [](Axis& a) { return a.run(Axis::StepForward); }, 0, 1.0, Notice::Scrolled, 200, 0, 200},
        {"small content scrolls when free", 0, 100, 400, true, [](Axis& a) { return a.run(Axis::StepForward); }, 16, 1.0,
         Notice::Scrolled},
        {"fit 400 into 200", 0, 400, 200, false, [](Axis& a) { return a.run(Axis::Fit); }, 0, 0.5, Notice::Zoomed, 100, 0,
         100},
        {"fit of a reversed axis", 400, 0, 200, false,
         [](Axis& a) {
             a.scrollTo(300);
             return a.run(Axis::Fit);
         },
         400, 0.5, Notice::Zoomed},
        {"1:1 after a fit", 0, 400, 200, false, [](Axis& a) { return runAll(a, {Axis::Fit, Axis::OneToOne}); }, 100, 1.0,
         Notice::Zoomed},
        {"kept inside past the end", 0, 1000, 100, false, [](Axis& a) { return a.scrollTo(950); }, 900, 1.0,
         Notice::Scrolled, 200, 180, 20},
        {"kept inside before the start", 0, 1000, 100, false, [](Axis& a) { return a.scrollTo(-5); }, 0, 1.0, Notice::None},
        {"free scrolling goes past the end", 0, 1000, 100, true, [](Axis& a) { return a.scrollTo(950); }, 950, 1.0,
         Notice::Scrolled},
        {"free scrolling goes before the start", 0, 1000, 100, true, [](Axis& a) { return a.scrollTo(-5); }, -5, 1.0,
         Notice::Scrolled},
        {"zoom about the pointer keeps what is under it", 0, 1000, 100, false,
         [](Axis& a) { return a.zoomAbout(2.0, 50); }, 25, 2.0, Notice::Zoomed},
        {"zoom drag", 0, 1000, 100, false, [](Axis& a) { return a.dragZoom(50); }, 50 - 50 / 1.5, 1.5, Notice::Zoomed},
        {"zoom drag never reaches zero", 0, 1000, 100, false, [](Axis& a) { return a.dragZoom(-500); }, 0,
         Axis::kMinZoom, Notice::Zoomed},
        {"move drag", 0, 1000, 100, false,
         [](Axis& a) {
             a.scrollTo(500);
             return a.dragMove(30);
         },
         470, 1.0, Notice::Scrolled},
        {"thumb on a reversed axis", 1000, 0, 100, false, [](Axis& a) { return a.scrollTo(550); }, 550, 1.0,
         Notice::Scrolled, 200, 90, 20},
        {"thumb at least one pixel", 0, 1e6, 10, false, [](Axis& a) { return a.scrollTo(5e5); }, 5e5, 1.0,
         Notice::Scrolled, 200, 100, 1},
        {"shown part brought into view", 0, 1000, 100, false, [](Axis& a) { return a.ensureVisible(380, 420); }, 320, 1.0,
         Notice::Scrolled},
    };
    for (const AxisCase& c : cases) {
        SCOPED_TRACE(c.name);
        Axis axis;
        axis.setFreeScrolling(c.free);
        axis.setViewportPixels(c.pixels);
        axis.setRange(c.start, c.end);
        axis.scrollTo(c.start);
        EXPECT_EQ(c.act(axis), c.notice);
        EXPECT_NEAR(axis.position(), c.position, 1e-9);
        EXPECT_NEAR(axis.zoom(), c.zoom, 1e-12);
        if (c.track > 0) {
            EXPECT_EQ(axis.thumb(c.track).start, c.thumbStart);
            EXPECT_EQ(axis.thumb(c.track).length, c.thumbLength);
        }
    }
    // Pixels and content units meet through the zoom, both ways and on
    // either direction of axis.
    Axis reversed;
    reversed.setViewportPixels(100);
    reversed.setRange(1000, 0);
    reversed.scrollTo(800);
    reversed.zoomAbout(2.0, 0);
    EXPECT_DOUBLE_EQ(reversed.toContent(40), 780);
    EXPECT_DOUBLE_EQ(reversed.toPixel(780), 40);
    EXPECT_DOUBLE_EQ(reversed.positionAtThumb(50, 200), 750);
    Axis compact;
    compact.setCompact(true);
    EXPECT_EQ(compact.trackLength(300, 16), 300 - 2 * 6 * 16);
}
