#pragma once

#include <optional>
#include <string>
#include <string_view>

// A frame's delay is a whole number of game steps, but people time a walk
// cycle in milliseconds: these convert between the two at the document's
// step length (milliseconds per step).
class CFrameDelay {
public:
    // The delay the file can hold at the most (a 32-bit count of steps).
    static constexpr long long kMostSteps = 2147483647;

    static long long milliseconds(int steps, int stepMs);
    // The steps a typed delay asks for: a number of milliseconds ("80",
    // "80 ms", rounded to the nearest whole step) or of steps ("10 steps",
    // "10 st"); at least one step. What follows an opening parenthesis is
    // left out, so the prompt's own text reads back. None for a text without
    // a positive number or with a unit neither of these.
    static std::optional<int> parse(std::string_view text, int stepMs);
    // "80 ms (10 steps)", as the delay prompt shows the value.
    static std::string text(int steps, int stepMs);
};
