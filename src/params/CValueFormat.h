#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// How parameter values read on screen: signed reals and integers with their
// integer part grouped in threes, dates in a short form while they are being
// edited and in the locale's long form otherwise. Pure functions, so that the
// sheet and the command line show exactly the same texts.
class CValueFormat {
public:
    // "%+.15g" with a signed three-digit exponent; small magnitudes that would
    // show an exponent from -14 to -1 are written in fixed notation instead,
    // with as many decimals as the exponent form carried digits. Grouped.
    static std::string floatText(double value);

    // "%+I64d"; grouped unless the field is being edited.
    static std::string integerText(std::int64_t value, bool grouped = true);

    // Inserts a single space every three digits, counted from the right of
    // the integer part (the run before the decimal point or the exponent).
    // A signed four-digit part stays whole ("+1234" is wide enough already).
    static std::string groupDigits(const std::string& text);

    // "%d/%m/%Y" while focused, "%x - %X" otherwise.
    static std::string dateText(const std::tm& when, bool focused);

    // The bare "%+.15g" text with the exponent widened to three digits.
    static std::string exponentText(double value);
};
