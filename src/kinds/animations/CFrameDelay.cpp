#include "kinds/animations/CFrameDelay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

long long CFrameDelay::milliseconds(int steps, int stepMs)
{
    return static_cast<long long>(steps) * std::max(stepMs, 1);
}

std::optional<int> CFrameDelay::parse(std::string_view text, int stepMs)
{
    const std::string s(text);
    const char* begin = s.c_str();
    char* end = nullptr;
    const double number = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(number) || number <= 0)
        return std::nullopt;
    std::string unit;
    // What the prompt shows after the value ("(4 steps)") is only a reminder.
    for (const char* c = end; *c && *c != '('; ++c)
        if (*c != ' ' && *c != '\t')
            unit += static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
    double steps = 0;
    if (unit.empty() || unit == "ms")
        steps = std::round(number / std::max(stepMs, 1));
    else if (unit == "st" || unit == "step" || unit == "steps")
        steps = std::round(number);
    else
        return std::nullopt;
    return static_cast<int>(std::clamp(steps, 1.0, static_cast<double>(kMostSteps)));
}

std::string CFrameDelay::text(int steps, int stepMs)
{
    return std::to_string(milliseconds(steps, stepMs)) + " ms (" + std::to_string(steps) + (steps == 1 ? " step)" : " steps)");
}
