#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// Smoothed frames-per-second of a preview: every tick measures the time since
// the previous one and folds it into a running average over about N ticks.
class CFrameRateMeter {
public:
    static constexpr double kSmoothing = 100.0;

    CFrameRateMeter();

    // Measures the time since the previous tick (or since construction).
    void tick();
    // The same with the elapsed time given in counts of a clock of the given
    // frequency (counts per second). No elapsed time keeps the last instant rate.
    void tickElapsed(std::int64_t counts, std::int64_t frequency);

    double average() const { return m_average; }
    double instant() const { return m_instant; }
    // "%.2f Fps" with the average.
    std::string text() const;

private:
    std::chrono::steady_clock::time_point m_last;
    double m_average = 1.0;
    double m_instant = 1.0;
};
