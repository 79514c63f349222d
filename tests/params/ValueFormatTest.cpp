#include "params/CValueFormat.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(ValueFormat, SmallRealsSwitchToFixedNotation)
{
    EXPECT_EQ(CValueFormat::exponentText(0.000012), "+1.2e-005");
    EXPECT_EQ(CValueFormat::floatText(0.000012), "+0.000012");
    EXPECT_EQ(CValueFormat::floatText(-0.000012), "-0.000012");
    // No decimal point in the exponent form: one more decimal.
    EXPECT_EQ(CValueFormat::floatText(1e-5), "+0.00001");
    EXPECT_EQ(CValueFormat::floatText(1.23456789012345e-10), "+0.000000000123456789012345");
    EXPECT_EQ(CValueFormat::floatText(1e-14), "+0.00000000000001");
}

TEST(ValueFormat, ExponentsOutsideTheFixedRangeKeepThreeDigits)
{
    EXPECT_EQ(CValueFormat::floatText(1e-20), "+1e-020");
    EXPECT_EQ(CValueFormat::floatText(1e-15), "+1e-015");
    EXPECT_EQ(CValueFormat::floatText(1e20), "+1e+020");
    EXPECT_EQ(CValueFormat::floatText(-2.5e300), "-2.5e+300");
    EXPECT_EQ(CValueFormat::floatText(std::numeric_limits<double>::max()), "+1.79769313486232e+308");
}

TEST(ValueFormat, RealsAreGroupedInThrees)
{
    EXPECT_EQ(CValueFormat::floatText(1234.5), "+1 234.5");
    EXPECT_EQ(CValueFormat::floatText(-1234567.25), "-1 234 567.25");
    EXPECT_EQ(CValueFormat::floatText(123.5), "+123.5");
    EXPECT_EQ(CValueFormat::floatText(0.5), "+0.5");
    EXPECT_EQ(CValueFormat::floatText(0.0), "+0");
    EXPECT_EQ(CValueFormat::floatText(120.0), "+120");
    EXPECT_EQ(CValueFormat::floatText(123456789012345.0), "+123 456 789 012 345");
}

TEST(ValueFormat, IntegersGroupedUnlessFocused)
{
    EXPECT_EQ(CValueFormat::integerText(1000), "+1 000");
    EXPECT_EQ(CValueFormat::integerText(1000, false), "+1000");
    EXPECT_EQ(CValueFormat::integerText(-999), "-999");
    EXPECT_EQ(CValueFormat::integerText(0), "+0");
    EXPECT_EQ(CValueFormat::integerText(std::numeric_limits<std::int64_t>::min()), "-9 223 372 036 854 775 808");
    EXPECT_EQ(CValueFormat::integerText(std::numeric_limits<std::int64_t>::max()), "+9 223 372 036 854 775 807");
}

TEST(ValueFormat, GroupingRuleForUnsignedAndSignedParts)
{
    EXPECT_EQ(CValueFormat::groupDigits("123"), "123");
    EXPECT_EQ(CValueFormat::groupDigits("1234"), "1 234");
    EXPECT_EQ(CValueFormat::groupDigits("12345"), "12 345");
    EXPECT_EQ(CValueFormat::groupDigits("1234567"), "1 234 567");
    EXPECT_EQ(CValueFormat::groupDigits("+123"), "+123");
    EXPECT_EQ(CValueFormat::groupDigits("+1234"), "+1 234");
    EXPECT_EQ(CValueFormat::groupDigits("-123456"), "-123 456");
    EXPECT_EQ(CValueFormat::groupDigits("90061"), "90 061");
    EXPECT_EQ(CValueFormat::groupDigits(""), "");
}

TEST(ValueFormat, DateWhileFocused)
{
    const std::tm when = calendarTime(2024, 3, 5, 0, 14);
    EXPECT_EQ(CValueFormat::dateText(when, true), "05/03/2024");
    EXPECT_NE(CValueFormat::dateText(when, false).find(" - "), std::string::npos);
}
