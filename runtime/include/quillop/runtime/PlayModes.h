#pragma once

#include <array>
#include <string_view>

namespace quillop {

// The eight ways a path or an animation is played. The value is what files
// store and what PlayClock::Reset and PlayClock::Advance switch on.
enum PlayMode : int {
    PlayForwardOnce = 0,
    PlayForwardLoop = 1,
    PlayForwardBackwardOnce = 2,
    PlayForwardBackwardLoop = 3,
    PlayBackwardOnce = 4,
    PlayBackwardLoop = 5,
    PlayBackwardForwardOnce = 6,
    PlayBackwardForwardLoop = 7,
};

inline constexpr int kPlayModeCount = 8;

inline constexpr std::array<std::string_view, kPlayModeCount> kPlayModeTexts = {
    "Forward Once",
    "Forward Loop",
    "Forward and Backward Once",
    "Forward and Backward Loop",
    "Backward Once",
    "Backward Loop",
    "Backward and Forward Once",
    "Backward and Forward Loop",
};

// The text of a play mode; empty for a value outside the table (a file may
// hold any integer there).
std::string_view playModeText(int mode);

// The mode whose text is exactly `text`, or -1.
int playModeFromText(std::string_view text);

} // namespace quillop
