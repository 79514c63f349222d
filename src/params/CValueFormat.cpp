#include "params/CValueFormat.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {
std::string printed(const char* format, double value)
{
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}
} // namespace

std::string CValueFormat::exponentText(double value)
{
    std::string text = printed("%+.15g", value);
    const std::size_t e = text.find('e');
    if (e == std::string::npos)
        return text;
    // The C library writes at least two exponent digits; the sheet has always
    // shown three ("+1.2e-005"), and users compare values by eye.
    std::size_t digits = e + 1;
    if (digits < text.size() && (text[digits] == '+' || text[digits] == '-'))
        ++digits;
    const std::size_t count = text.size() - digits;
    if (count < 3)
        text.insert(digits, 3 - count, '0');
    return text;
}

std::string CValueFormat::floatText(double value)
{
    std::string text = exponentText(value);
    const std::size_t e = text.find('e');
    if (e != std::string::npos) {
        const int exponent = std::atoi(text.c_str() + e + 1);
        if (exponent >= -14 && exponent <= -1) {
            int precision = static_cast<int>(text.size()) + (-exponent) - 7;
            if (text.find('.') != std::string::npos)
                precision -= 1;
            char format[32];
            std::snprintf(format, sizeof format, "%%+.%df", precision);
            text = printed(format, value);
        }
    }
    return groupDigits(text);
}

std::string CValueFormat::integerText(std::int64_t value, bool grouped)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%+" PRId64, value);
    return grouped ? groupDigits(buffer) : std::string(buffer);
}

std::string CValueFormat::groupDigits(const std::string& text)
{
    // Only the mantissa's integer part is grouped: an exponent ("+1e-020")
    // is not a number of thousands.
    std::size_t n = text.find_first_of(".eE");
    if (n == std::string::npos)
        n = text.size();
    std::string out = text;
    const bool signedText = !out.empty() && (out[0] == '-' || out[0] == '+');
    while (n > 3) {
        if (n == 4) {
            if (!signedText)
                out.insert(1, 1, ' ');
            break;
        }
        n -= 3;
        out.insert(n, 1, ' ');
    }
    return out;
}

std::string CValueFormat::dateText(const std::tm& when, bool focused)
{
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, focused ? "%d/%m/%Y" : "%x - %X", &when);
    return std::string(buffer, n);
}
