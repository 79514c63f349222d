#include "media/audio/CWaveEnvelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// A sine of a 200-frame period on the first channel, silence on the second:
// the outline must follow the wave however long the sound, and stay small.
TEST(WaveEnvelope, FollowsTheWaveAtAnyLengthWithinItsBucketLimit)
{
    constexpr double kPi = 3.14159265358979323846;
    for (const std::int64_t frames : {std::int64_t(100), std::int64_t(10915), std::int64_t(400000),
                                      std::int64_t(3000000)}) {
        SCOPED_TRACE(frames);
        CWaveEnvelope envelope;
        std::vector<float> chunk;
        for (std::int64_t f = 0; f < frames; ++f) {
            chunk.push_back(static_cast<float>(std::sin(2 * kPi * double(f) / 200.0)));
            chunk.push_back(0.0f);
            if (chunk.size() == 2 * 777 || f + 1 == frames) {
                envelope.append(chunk.data(), static_cast<int>(chunk.size() / 2));
                chunk.clear();
            }
        }
        EXPECT_EQ(envelope.frames(), frames);
        EXPECT_LE(envelope.bucketCount(), CWaveEnvelope::kMaxBuckets);
        EXPECT_EQ(envelope.bucketCount(), std::size_t((frames + envelope.bucketFrames() - 1) / envelope.bucketFrames()));
        // The whole sound spans the wave; the silent channel stays silent.
        const auto all = envelope.range(0, 0, frames - 1);
        EXPECT_NEAR(all.first, frames >= 200 ? -1.0 : -0.0, 0.01);
        EXPECT_NEAR(all.second, frames >= 50 ? 1.0 : 0.0, 0.01);
        EXPECT_EQ(envelope.range(1, 0, frames - 1), (std::pair<double, double>{0.0, 0.0}));
        // A tenth of a period near a crest shows a tenth of a period, as long
        // as buckets are short enough for it: the rising quarter does not
        // reach the trough.
        if (envelope.bucketFrames() <= 16) {
            const auto rising = envelope.range(0, 0, 40);
            EXPECT_GT(rising.first, -0.1);
            EXPECT_GT(rising.second, 0.9);
        }
    }
}
