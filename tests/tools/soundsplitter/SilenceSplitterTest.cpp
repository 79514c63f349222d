#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/audio/CSoundSet.h"
#include "tools/soundsplitter/CSilenceSplitter.h"

#include "support/TestSupport.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <cmath>

namespace {
using Segment = CSilenceSplitter::Segment;
constexpr int kRate = 8000;

// A stereo recording of tones between stretches of faint noise, laid out
// in seconds: (start, length) of each tone.
CSoundSet recording(const std::vector<std::pair<double, double>>& tones, double seconds)
{
    CSoundSet sound;
    sound.setSampleRate(kRate);
    for (int c = 0; c < 2; ++c) {
        CSampleBuffer& b = sound.addChannel();
        b.resize(std::uint32_t(seconds * kRate));
        for (std::uint32_t i = 0; i < b.count(); ++i)
            b.set(i, (int((i * 7919 + std::uint32_t(c)) % 13) - 6) * 0.00015); // about -60 dB
        for (const auto& [start, length] : tones)
            for (std::uint32_t i = std::uint32_t(start * kRate); i < std::uint32_t((start + length) * kRate); ++i)
                b.set(i, 0.5 * std::sin(2 * M_PI * 440.0 * i / kRate));
    }
    return sound;
}

Segment seconds(double start, double end)
{
    return {std::uint32_t(std::lround(start * kRate)), std::uint32_t(std::lround((end - start) * kRate))};
}
} // namespace

TEST(SilenceSplitter, CutsAtLongSilencesAndDropsClicks)
{
    // A 0.1 s pause inside the second sound is too short to cut it; the
    // 20 ms click is too short to be a sound.
    const CSoundSet sound = recording({{0.2, 0.5}, {1.2, 0.3}, {1.6, 0.2}, {2.2, 0.02}}, 2.6);
    const CSilenceSplitter::Settings settings{-40.0, 300, 50};
    EXPECT_EQ(CSilenceSplitter::split(sound, settings), (std::vector<Segment>{seconds(0.2, 0.7), seconds(1.2, 1.8)}));

    const struct {
        CSilenceSplitter::Settings settings;
        std::size_t segments;
    } variations[] = {
        {{-40.0, 50, 50}, 3},  // the short pause now cuts
        {{-40.0, 300, 10}, 3}, // the click now counts
        {{-70.0, 300, 50}, 1}, // the noise is loud enough: one long sound
        {{0.0, 300, 50}, 0},   // nothing reaches full scale
    };
    for (const auto& v : variations)
        EXPECT_EQ(CSilenceSplitter::split(sound, v.settings).size(), v.segments) << v.settings.thresholdDb;
}

TEST(SilenceSplitter, WritesNumberedWavFilesOrSoundItemsAndNeverOverwrites)
{
    const CSoundSet sound = recording({{0.1, 0.25}, {0.8, 0.5}}, 1.5);
    const auto segments = CSilenceSplitter::split(sound, {});
    ASSERT_EQ(segments.size(), 2u);

    TempFolder folder;
    const std::string dir = folder.path("");
    EXPECT_EQ(CSilenceSplitter::writeWavFiles(sound, segments, dir, "take"), 2);
    QProcess soxi;
    soxi.start("soxi", {"-s", QString::fromStdString(folder.path("take_002.wav"))});
    ASSERT_TRUE(soxi.waitForFinished(10000));
    EXPECT_EQ(soxi.readAllStandardOutput().trimmed().toUInt(), segments[1].count);

    std::string failed;
    EXPECT_EQ(CSilenceSplitter::writeWavFiles(sound, segments, dir, "take", &failed), 0);
    EXPECT_EQ(failed, folder.path("take_001.wav"));

    auto holder = createDocumentHolder();
    holder->newItem(GroupSounds, "already there");
    EXPECT_EQ(CSilenceSplitter::addToSounds(*holder, sound, segments, "take"), 2);
    ASSERT_EQ(holder->count(GroupSounds), 3);
    const auto* second = dynamic_cast<const CMVT_WavMemory*>(holder->get(GroupSounds, 2));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->id(), "take_002");
    EXPECT_EQ(second->frames(), std::int32_t(segments[1].count));
    EXPECT_EQ(second->channels(), 2);
    EXPECT_EQ(second->sampleRate(), kRate);
    EXPECT_NEAR(second->sampleAt(segments[1].count / 2, 1),
                sound.channel(1)->get(segments[1].first + segments[1].count / 2), 1e-3);
}
