#include "media/audio/CSampleBuffer.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
CSampleBuffer bufferOf(std::initializer_list<double> values)
{
    CSampleBuffer b;
    b.resize(static_cast<std::uint32_t>(values.size()), true);
    std::uint32_t i = 0;
    for (double v : values)
        b.set(i++, v);
    return b;
}

std::vector<double> samplesOf(const CSampleBuffer& b) { return {b.data(), b.data() + b.count()}; }
} // namespace

TEST(SampleBuffer, OutOfRangeReadsAreZeroAndWritesIgnored)
{
    CSampleBuffer b = bufferOf({1, 2});
    EXPECT_EQ(b.get(2), 0.0);
    EXPECT_EQ(b.get(-1), 0.0);
    b.set(5, 9.0);
    EXPECT_EQ(b.count(), 2u);
    ASSERT_EQ(b.resize(4, true), 1);
    EXPECT_EQ(samplesOf(b), (std::vector<double>{1, 2, 0, 0}));
    ASSERT_EQ(b.resize(0, true), 1);
    EXPECT_EQ(b.count(), 0u);
}

TEST(SampleBuffer, CopyRangeClampsToWhatExists)
{
    CSampleBuffer source = bufferOf({1, 2, 3, 4});
    CSampleBuffer copy;
    ASSERT_EQ(copy.copyRangeFrom(source, 2, 10), 1);
    EXPECT_EQ(samplesOf(copy), (std::vector<double>{3, 4}));
    ASSERT_EQ(source.copyRangeFrom(source, 1, 2), 1);
    EXPECT_EQ(samplesOf(source), (std::vector<double>{2, 3}));
    ASSERT_EQ(copy.copyFrom(source), 1);
    EXPECT_EQ(samplesOf(copy), (std::vector<double>{2, 3}));
}

TEST(SampleBuffer, ReadInterpolatesOrAveragesABox)
{
    CSampleBuffer b = bufferOf({0, 0, 4, 8});
    EXPECT_DOUBLE_EQ(b.read(2.25, 1), 5.0);
    EXPECT_DOUBLE_EQ(b.read(3.5, 0.5), 8.0); // the right neighbour stops at the last sample
    EXPECT_EQ(b.read(7.0, 1), 0.0);

    CSampleBuffer ramp = bufferOf({0, 1, 2, 3, 4, 5});
    // Box from 0.5 to 2.5: half of x0, all of x1, half of x2 over a weight of 2.
    EXPECT_DOUBLE_EQ(ramp.read(0.5, 2.0), 1.0);
    // Box from 4 to 8: x4 and x5, then two zero samples past the end.
    EXPECT_DOUBLE_EQ(ramp.read(4.0, 4.0), (4.0 + 5.0) / 4.0);
    // A box wider than any buffer ends promptly instead of walking every index.
    EXPECT_NEAR(ramp.read(0.0, 1e12), 15.0 / 1e12, 1e-20);
    EXPECT_EQ(ramp.read(std::nan(""), 2.0), 0.0);
}

TEST(SampleBuffer, ResampleDownAndUp)
{
    CSampleBuffer b = bufferOf({1, 3, 5, 7});
    ASSERT_EQ(b.resample(2), 1);
    EXPECT_EQ(samplesOf(b), (std::vector<double>{2, 6}));
    ASSERT_EQ(b.resample(4), 1);
    // Step 0.5: interpolation, holding the last sample at the end.
    EXPECT_EQ(samplesOf(b), (std::vector<double>{2, 4, 6, 6}));
    CSampleBuffer empty;
    EXPECT_EQ(empty.resample(10), 0);
    EXPECT_EQ(empty.count(), 0u);
}

TEST(SampleBuffer, SmoothIsAForwardMovingAverage)
{
    CSampleBuffer b = bufferOf({1, 1, 1, 1, 1});
    b.smooth(5);
    const std::vector<double> expected{1, 0.8, 0.6, 0.4, 0.2};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_DOUBLE_EQ(b.get(static_cast<std::int64_t>(i)), expected[i]);
    CSampleBuffer same = bufferOf({3, -1});
    same.smooth(1);
    EXPECT_EQ(samplesOf(same), (std::vector<double>{3, -1}));

    // Wide windows take the running-sum path; it must agree with the plain sum.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    CSampleBuffer wide;
    wide.resize(2000, true);
    for (std::uint32_t i = 0; i < 2000; ++i)
        wide.set(i, noise(random));
    const std::vector<double> before = samplesOf(wide);
    wide.smooth(300);
    for (std::size_t i = 0; i < before.size(); i += 97) {
        double sum = 0;
        for (std::size_t j = i; j < std::min<std::size_t>(before.size(), i + 300); ++j)
            sum += before[j];
        EXPECT_NEAR(wide.get(static_cast<std::int64_t>(i)), sum / 300.0, 1e-12) << i;
    }
}

TEST(SampleBuffer, SortAndPercentile)
{
    CSampleBuffer b = bufferOf({9, 4, 1, 7, 3});
    b.sortAscending(1, 3);
    EXPECT_EQ(samplesOf(b), (std::vector<double>{9, 1, 4, 7, 3}));
    EXPECT_EQ(b.percentile(0, 4, 0.5), 7.0);   // even count: the upper middle value
    EXPECT_EQ(b.percentile(0, 5, 0.5), 5.5);   // odd count: halfway to the next value
    EXPECT_EQ(b.percentile(0, 5, 0.25), 3.0 * 0.75 + 4.0 * 0.25);
    EXPECT_EQ(b.percentile(3, 1, 0.5), 7.0);   // one value is its own median
    EXPECT_EQ(b.percentile(0, 5, 1.0), 9.0);   // the top is the maximum, not 0
    EXPECT_EQ(b.percentile(2, 100, 0.0), 3.0); // count clamped to what exists
    EXPECT_EQ(b.percentile(10, 3, 0.5), 0.0);
}

TEST(SampleBuffer, DistancesAndLevels)
{
    CSampleBuffer b = bufferOf({1, 2, 3, 4});
    EXPECT_DOUBLE_EQ(b.meanAbsoluteDifference(0, 1, 3), 2.0);
    // The window past the end compares with zeros: |3-0| + |4-0| over 2, doubled.
    EXPECT_DOUBLE_EQ(b.meanAbsoluteDifference(2, 4, 2), 7.0);
    EXPECT_EQ(b.meanAbsoluteDifference(0, 1, 0), 0.0);
    EXPECT_DOUBLE_EQ(b.rms(0, 4), std::sqrt(30.0 / 4.0));
    EXPECT_DOUBLE_EQ(b.rms(2, 4), std::sqrt(25.0 / 4.0));
    EXPECT_EQ(b.rms(0, 0), 0.0);
    const auto range = b.minMax(1, 2);
    EXPECT_EQ(range.min, 2.0);
    EXPECT_EQ(range.max, 3.0);
}

TEST(SampleBuffer, NormaliseAndClamp)
{
    CSampleBuffer b = bufferOf({2, 4, 6, 100});
    b.normalise(0, 3, -1, 1);
    EXPECT_EQ(samplesOf(b), (std::vector<double>{-1, 0, 1, 100}));
    CSampleBuffer flat = bufferOf({5, 5});
    flat.normalise(0, 2, 0.25, 1);
    EXPECT_EQ(samplesOf(flat), (std::vector<double>{0.25, 0.25}));

    CSampleBuffer c = bufferOf({-3, 0.5, 3, std::nan("")});
    c.clamp(0, 4, -1, 1);
    EXPECT_EQ(samplesOf(c), (std::vector<double>{-1, 0.5, 1, -1}));
}

TEST(SampleBuffer, RampBetweenTwoIndices)
{
    CSampleBuffer b;
    b.resize(6, true);
    b.ramp(4, 0, 8, 0); // swapped into 0..4 going 0 -> 8
    EXPECT_EQ(samplesOf(b), (std::vector<double>{0, 2, 4, 6, 8, 0}));
    b.ramp(2, 2, 1, 3);
    EXPECT_EQ(b.get(2), 2.0);
    b.ramp(0, 1, -1, -2);
    EXPECT_EQ(b.get(0), -1.0);
    EXPECT_EQ(b.get(1), -2.0);
    b.ramp(3, 99, 10, 20); // the far end moves to the last index
    EXPECT_EQ(b.get(3), 10.0);
    EXPECT_EQ(b.get(5), 20.0);
    const std::vector<double> before = samplesOf(b);
    b.ramp(6, 9, 1, 1);
    EXPECT_EQ(samplesOf(b), before);
}

TEST(SampleBuffer, RawFilesAreLittleEndianDoubles)
{
    TempFolder folder;
    CSampleBuffer b = bufferOf({0.5, -2.25, 1e-300});
    ASSERT_EQ(b.saveRaw(folder.path("x.raw")), 1);
    const QByteArray bytes = readAll(folder.path("x.raw"));
    ASSERT_EQ(bytes.size(), 24);
    EXPECT_EQ(bytes.left(8), QByteArray::fromHex("000000000000e03f"));

    // A trailing partial sample is ignored.
    writeAll(folder.path("y.raw"), bytes + QByteArray("abc"));
    CSampleBuffer loaded;
    ASSERT_EQ(loaded.loadRaw(folder.path("y.raw")), 1);
    EXPECT_EQ(samplesOf(loaded), samplesOf(b));
    EXPECT_EQ(loaded.loadRaw(folder.path("missing.raw")), 0);
    EXPECT_EQ(loaded.count(), 3u);
}
