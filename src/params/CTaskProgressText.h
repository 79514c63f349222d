#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// The texts a progress window shows, as pure functions of the progress values
// and the clock, so that the window, the command line's progress bar and the
// tests agree on every character.
class CTaskProgressText {
public:
    enum class Label { Elapsed, Total, Remaining };

    struct Estimate {
        std::int64_t totalMs = 0;
        std::int64_t remainingMs = 0;
    };

    // "Elapsed Time : %3dh : %02dm : %02ds" and its Total / Remaining forms.
    static std::string timeLabel(Label label, std::int64_t ms);

    // Share of the range done, 0 for an empty or inverted range.
    static double fraction(double current, double minimum, double maximum);

    // "%.2f %%" of the fraction.
    static std::string percentText(double current, double minimum, double maximum);

    // The main window's caption while it is minimised: "%.2f %% %s".
    static std::string minimisedCaption(double current, double minimum, double maximum,
                                        const std::string& applicationCaption);

    // Total and remaining time projected from the elapsed time and the share
    // done. No estimate while nothing is done yet (the projection would be
    // infinite) or when the range is empty.
    static std::optional<Estimate> estimate(std::int64_t elapsedMs, double current, double minimum,
                                            double maximum);

    // "%H:%M:%S - %A, %B %d, %Y".
    static std::string timeText(const std::tm& when);
    static std::string currentTimeText();

    // Puts the time text where the format holds "%s" (the first one only);
    // "%%" stands for "%". Any other '%' is copied as it is: the format comes
    // from the task and must never be handed to printf with one argument.
    static std::string withTime(const std::string& format, const std::string& timeText);
};
