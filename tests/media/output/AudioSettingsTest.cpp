#include "media/output/CAudioSettings.h"

#include <gtest/gtest.h>

TEST(AudioSettings, DefaultsRangesAndLatencyText)
{
    CAudioSettings s;
    EXPECT_EQ(s.device(), -1);
    EXPECT_EQ(s.buffers(), 4);
    EXPECT_EQ(s.lengthMs(), 30);
    EXPECT_EQ(s.rate(), 44100);
    EXPECT_EQ(s.bits(), 16);
    EXPECT_EQ(s.channels(), 2);
    EXPECT_EQ(s.latencyText(), "120 [ms] = 4 * 30 [ms]");

    // Out of range or not a number: the previous value stays.
    EXPECT_EQ(s.setBuffers(0), 0);
    EXPECT_EQ(s.setBuffers(33), 0);
    EXPECT_EQ(s.setLengthMs(501), 0);
    EXPECT_EQ(s.setLengthMs(0), 0);
    EXPECT_EQ(s.setBuffersText("4x"), 0);
    EXPECT_EQ(s.setLengthText(""), 0);
    EXPECT_EQ(s.setRate(32000), 0);
    EXPECT_EQ(s.setDevice(-2), 0);
    EXPECT_EQ(s.latencyText(), "120 [ms] = 4 * 30 [ms]");

    EXPECT_EQ(s.setBuffersText(" 32 "), 1);
    EXPECT_EQ(s.setLengthText("500"), 1);
    EXPECT_EQ(s.setRate(22050), 1);
    EXPECT_EQ(s.setDevice(2), 1);
    EXPECT_EQ(s.latencyText(), "16000 [ms] = 32 * 500 [ms]");
    EXPECT_EQ(CAudioSettings::frequencyTexts(), (std::vector<std::string>{"22050 Hz", "44100 Hz", "48000 Hz"}));

    const auto entries = CAudioSettings::deviceEntries({"Speakers", "Headphones"});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].first, -1);
    EXPECT_EQ(entries[2], (std::pair<int, std::string>{1, "Headphones"}));
}
