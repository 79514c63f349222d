#include "params/CTaskProgressText.h"

#include <cmath>
#include <cstdio>

namespace {
// A projection longer than this (about 31 years) is shown at this length:
// the labels have room for it and the integer arithmetic stays exact.
constexpr double kLongestEstimateMs = 1e12;
} // namespace

std::string CTaskProgressText::timeLabel(Label label, std::int64_t ms)
{
    const char* format = label == Label::Elapsed ? "Elapsed Time : %3dh : %02dm : %02ds"
                         : label == Label::Total ? "Total Time : %3dh : %02dm : %02ds"
                                                 : "Time Remaining : %3dh : %02dm : %02ds";
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, static_cast<int>(ms / 3600000),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60));
    return buffer;
}

double CTaskProgressText::fraction(double current, double minimum, double maximum)
{
    const double range = maximum - minimum;
    if (!(range > 0.0) || !std::isfinite(range))
        return 0.0;
    const double f = (current - minimum) / range;
    return std::isfinite(f) ? f : 0.0;
}

std::string CTaskProgressText::percentText(double current, double minimum, double maximum)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f %%", fraction(current, minimum, maximum) * 100.0);
    return buffer;
}

std::string CTaskProgressText::minimisedCaption(double current, double minimum, double maximum,
                                                const std::string& applicationCaption)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f %% ", fraction(current, minimum, maximum) * 100.0);
    return buffer + applicationCaption;
}

std::optional<CTaskProgressText::Estimate> CTaskProgressText::estimate(std::int64_t elapsedMs, double current,
                                                                      double minimum, double maximum)
{
    const double f = fraction(current, minimum, maximum);
    if (!(f > 0.0))
        return std::nullopt;
    double total = std::round(static_cast<double>(elapsedMs) / f); // halves away from zero
    if (total > kLongestEstimateMs)
        total = kLongestEstimateMs;
    Estimate e;
    e.totalMs = static_cast<std::int64_t>(total);
    e.remainingMs = e.totalMs - elapsedMs;
    return e;
}

std::string CTaskProgressText::timeText(const std::tm& when)
{
    // The job log has always been written in English whatever the user's
    // language, so the names are spelled out here instead of asking the
    // locale that the application object installs.
    static const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    const char* day = when.tm_wday >= 0 && when.tm_wday < 7 ? days[when.tm_wday] : "?";
    const char* month = when.tm_mon >= 0 && when.tm_mon < 12 ? months[when.tm_mon] : "?";
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d - %s, %s %02d, %d", when.tm_hour, when.tm_min, when.tm_sec, day,
                  month, when.tm_mday, when.tm_year + 1900);
    return buffer;
}

std::string CTaskProgressText::currentTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return timeText(local);
}

std::string CTaskProgressText::withTime(const std::string& format, const std::string& timeText)
{
    std::string out;
    out.reserve(format.size() + timeText.size());
    bool used = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                out.push_back('%');
                ++i;
                continue;
            }
            if (format[i + 1] == 's' && !used) {
                out += timeText;
                used = true;
                ++i;
                continue;
            }
        }
        out.push_back(format[i]);
    }
    return out;
}
