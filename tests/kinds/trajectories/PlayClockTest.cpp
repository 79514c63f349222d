#include "kinds/trajectories/PlayClock.h"
#include "kinds/trajectories/PlayModes.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {
struct Step {
    double position;
    int result;
    int direction;
};

PlayClock clockFor(int mode, double start = 0, double end = 4, double speed = 1)
{
    PlayClock c;
    c.SetPlayMode(mode);
    c.SetStart(start);
    c.SetEnd(end);
    c.SetSpeed(speed);
    c.Restart();
    return c;
}

std::vector<double> positions(PlayClock& c, double step, int count)
{
    std::vector<double> out;
    for (int i = 0; i < count; ++i) {
        c.Advance(step);
        out.push_back(c.GetPosition());
    }
    return out;
}

using V = std::vector<double>;
} // namespace

TEST(PlayClock, NewClockAndReset)
{
    PlayClock c;
    EXPECT_EQ(c.GetStart(), 0.0);
    EXPECT_EQ(c.GetEnd(), 1.0);
    EXPECT_EQ(c.GetPosition(), 0.0);
    EXPECT_EQ(c.GetSpeed(), 1.0);
    EXPECT_EQ(c.GetPlayMode(), PlayForwardLoop);
    EXPECT_EQ(c.GetDirection(), PlayClock::Forward);
    EXPECT_TRUE(c.IsPlaying());
    EXPECT_EQ(c.GetTag(), 0);
    c.SetTag(42);
    EXPECT_EQ(c.GetTag(), 42);

    c.SetStart(2);
    c.SetEnd(9);
    for (int mode = 0; mode < kPlayModeCount; ++mode) {
        c.SetPlayMode(mode);
        c.Reset();
        const bool backward = mode >= 4;
        EXPECT_EQ(c.GetPosition(), backward ? 9.0 : 2.0) << mode;
        EXPECT_EQ(c.GetDirection(), backward ? PlayClock::Backward : PlayClock::Forward) << mode;
    }
}

TEST(PlayClock, PlayModeTexts)
{
    EXPECT_EQ(playModeText(0), "Forward Once");
    EXPECT_EQ(playModeText(1), "Forward Loop");
    EXPECT_EQ(playModeText(2), "Forward and Backward Once");
    EXPECT_EQ(playModeText(3), "Forward and Backward Loop");
    EXPECT_EQ(playModeText(4), "Backward Once");
    EXPECT_EQ(playModeText(5), "Backward Loop");
    EXPECT_EQ(playModeText(6), "Backward and Forward Once");
    EXPECT_EQ(playModeText(7), "Backward and Forward Loop");
    EXPECT_EQ(playModeText(8), "");
    EXPECT_EQ(playModeText(-1), "");
    EXPECT_EQ(playModeFromText("Backward Loop"), 5);
    EXPECT_EQ(playModeFromText("backward loop"), -1);
}

TEST(PlayClock, OnceModesStopAtTheirEnd)
{
    PlayClock forward = clockFor(PlayForwardOnce);
    EXPECT_EQ(positions(forward, 1.5, 3), (V{1.5, 3, 4}));
    EXPECT_FALSE(forward.IsPlaying());
    EXPECT_EQ(forward.Advance(1.5), 0);
    EXPECT_EQ(forward.GetPosition(), 4.0);

    PlayClock backward = clockFor(PlayBackwardOnce);
    EXPECT_EQ(backward.Advance(1.5), 1);
    EXPECT_EQ(backward.Advance(1.5), 1);
    EXPECT_EQ(backward.Advance(1.5), 0);  // the stopping step reports no activity
    EXPECT_EQ(backward.GetPosition(), 0.0);

    // Landing exactly on the end is not past it.
    PlayClock exact = clockFor(PlayForwardOnce);
    EXPECT_EQ(exact.Advance(4), 1);
    EXPECT_EQ(exact.Advance(0.5), 0);

    // Running against the mode's direction holds at the near end.
    PlayClock negative = clockFor(PlayForwardOnce, 0, 4, -1);
    EXPECT_EQ(negative.Advance(1.5), 1);
    EXPECT_EQ(negative.GetPosition(), 0.0);
    EXPECT_TRUE(negative.IsPlaying());

    // Restart plays again from the start.
    forward.Restart();
    EXPECT_TRUE(forward.IsPlaying());
    EXPECT_EQ(forward.GetPosition(), 0.0);
    EXPECT_EQ(forward.Advance(1), 1);
}

TEST(PlayClock, BothWaysOnceTurnAndStop)
{
    // Start 0, end 4, steps of 1.5: 1.5, 3, 3.5 (reflected), 2, 0.5, then 0 and stop.
    PlayClock c = clockFor(PlayForwardBackwardOnce);
    std::vector<Step> seen;
    for (int i = 0; i < 7; ++i) {
        const int r = c.Advance(1.5);
        seen.push_back({c.GetPosition(), r, c.GetDirection()});
    }
    const std::vector<double> expected = {1.5, 3, 3.5, 2, 0.5, 0, 0};
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].position, expected[i]) << i;
    EXPECT_EQ(seen[1].direction, PlayClock::Forward);
    EXPECT_EQ(seen[2].direction, PlayClock::Backward);
    EXPECT_EQ(seen[4].result, 1);
    EXPECT_EQ(seen[5].result, 0);
    EXPECT_EQ(seen[6].result, 0);
    EXPECT_FALSE(c.IsPlaying());

    PlayClock back = clockFor(PlayBackwardForwardOnce);
    EXPECT_EQ(positions(back, 1.5, 6), (V{2.5, 1, 0.5, 2, 3.5, 4}));
    EXPECT_FALSE(back.IsPlaying());

    // Backward with a negative move turns at the end instead.
    PlayClock turn = clockFor(PlayForwardBackwardOnce);
    turn.SetDirection(PlayClock::Backward);
    turn.SetPosition(3);
    turn.Advance(-1.5);
    EXPECT_EQ(turn.GetPosition(), 3.5);
    EXPECT_EQ(turn.GetDirection(), PlayClock::Forward);
}

TEST(PlayClock, LoopsWrapAround)
{
    PlayClock forward = clockFor(PlayForwardLoop);
    EXPECT_EQ(positions(forward, 1.5, 6), (V{1.5, 3, 0.5, 2, 3.5, 1}));
    EXPECT_TRUE(forward.IsPlaying());

    PlayClock backward = clockFor(PlayBackwardLoop);
    EXPECT_EQ(positions(backward, 1.5, 4), (V{2.5, 1, 3.5, 2}));

    // Negative speeds wrap the other way round.
    PlayClock reversed = clockFor(PlayForwardLoop, 0, 4, -1);
    EXPECT_EQ(positions(reversed, 1.5, 3), (V{2.5, 1, 3.5}));
    PlayClock reversedBack = clockFor(PlayBackwardLoop, 0, 4, -1);
    EXPECT_EQ(positions(reversedBack, 1.5, 3), (V{1.5, 3, 0.5}));

    // Forward Loop played backward runs down to the start and turns forward.
    PlayClock turned = clockFor(PlayForwardLoop);
    turned.SetDirection(PlayClock::Backward);
    turned.SetPosition(1);
    EXPECT_EQ(positions(turned, 1.5, 2), (V{0, 1.5}));
    EXPECT_EQ(turned.GetDirection(), PlayClock::Forward);
}

TEST(PlayClock, SwingingLoopsReflectAtBothEnds)
{
    PlayClock three = clockFor(PlayForwardBackwardLoop);
    EXPECT_EQ(positions(three, 1.5, 8), (V{1.5, 3, 3.5, 2, 0.5, 1, 2.5, 4}));
    EXPECT_EQ(three.GetDirection(), PlayClock::Forward);
    EXPECT_EQ(positions(three, 1.5, 1), (V{2.5}));
    EXPECT_EQ(three.GetDirection(), PlayClock::Backward);

    PlayClock seven = clockFor(PlayBackwardForwardLoop);
    EXPECT_EQ(positions(seven, 1.5, 6), (V{2.5, 1, 0.5, 2, 3.5, 3}));
    EXPECT_TRUE(seven.IsPlaying());

    // A negative move reflects at the start while going forward.
    PlayClock negative = clockFor(PlayForwardBackwardLoop, 0, 4, -1);
    EXPECT_EQ(positions(negative, 1.5, 3), (V{1.5, 3, 3.5}));
}

TEST(PlayClock, NotPlayingAndUnknownModesDoNotMove)
{
    PlayClock stopped = clockFor(PlayForwardLoop);
    stopped.Stop();
    EXPECT_EQ(stopped.Advance(1), 0);
    EXPECT_EQ(stopped.GetPosition(), 0.0);
    stopped.Play();
    EXPECT_EQ(stopped.Advance(1), 1);
    EXPECT_EQ(stopped.GetPosition(), 1.0);

    for (int mode : {8, 100, -1}) {
        PlayClock c = clockFor(mode);
        EXPECT_EQ(c.Advance(1), 1);
        EXPECT_EQ(c.GetPosition(), 0.0);
    }
}

TEST(PlayClock, SetPositionWrapsIntoTheSpan)
{
    PlayClock c = clockFor(PlayForwardLoop, 1, 5);
    c.SetPosition(6);
    EXPECT_EQ(c.GetPosition(), 3.0);
    c.SetPosition(2.5);
    EXPECT_EQ(c.GetPosition(), 3.5);
    c.SetPosition(-1);
    EXPECT_EQ(c.GetPosition(), 4.0);
    c.SetPosition(-9);
    EXPECT_EQ(c.GetPosition(), 4.0);

    // A span of zero (a one-point path) has a single place to be, never NaN.
    PlayClock empty = clockFor(PlayForwardLoop, 0, 0);
    empty.SetPosition(7.5);
    EXPECT_EQ(empty.GetPosition(), 0.0);
}

TEST(PlayClock, DegenerateSpansAndHugeStepsEnd)
{
    // Wrapping a long negative move takes one remainder, not a loop per span.
    PlayClock far = clockFor(PlayForwardLoop, 0, 4, -1);
    EXPECT_EQ(far.Advance(1e15 + 1), 1);
    EXPECT_GE(far.GetPosition(), 0.0);
    EXPECT_LT(far.GetPosition(), 4.0);
    EXPECT_EQ(far.GetPosition(), 3.0);

    PlayClock farBack = clockFor(PlayBackwardLoop, 0, 4, -1);
    farBack.Advance(1e15 + 1);
    EXPECT_EQ(farBack.GetPosition(), 1.0);

    // With start equal to end, the loops have nowhere to wrap to.
    PlayClock flat = clockFor(PlayForwardLoop, 2, 2, -1);
    EXPECT_EQ(flat.Advance(1), 1);
    EXPECT_EQ(flat.GetPosition(), 2.0);
    PlayClock flatBack = clockFor(PlayBackwardLoop, 2, 2, -1);
    EXPECT_EQ(flatBack.Advance(1), 1);
    EXPECT_EQ(flatBack.GetPosition(), 2.0);

    // A move that is not a number leaves the position usable.
    PlayClock nan = clockFor(PlayForwardLoop);
    nan.Advance(1);
    EXPECT_EQ(nan.Advance(std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_EQ(nan.GetPosition(), 1.0);
}
