#include "media/audio/CSampleBuffer.h"
#include "media/audio/CSampleCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {
double decode8(unsigned char b) { return CSampleCodec::decode(&b, 8, CSampleEncoding::SystemScale); }

double decode16(std::int16_t v)
{
    unsigned char b[2];
    std::memcpy(b, &v, 2);
    return CSampleCodec::decode(b, 16, CSampleEncoding::SystemScale);
}

template <typename T> T encoded(double value, int bits)
{
    unsigned char b[8] = {};
    CSampleCodec::encode(value, bits, b);
    T out;
    std::memcpy(&out, b, sizeof out);
    return out;
}
} // namespace

TEST(SampleCodec, EightBitsUseXor7F)
{
    EXPECT_EQ(decode8(0x00), 1.0);
    EXPECT_EQ(decode8(0x7F), 0.0);
    EXPECT_DOUBLE_EQ(decode8(0x80), -1.0 / 127.0);
    EXPECT_DOUBLE_EQ(decode8(0xFF), -128.0 / 127.0);
    // Every byte but 0xFF (below -1, clamped on the way back) survives a round trip.
    for (int b = 0; b < 0xFF; ++b)
        EXPECT_EQ(CSampleCodec::encode8(decode8(static_cast<unsigned char>(b))), b) << b;
    EXPECT_EQ(CSampleCodec::encode8(2.0), 0x00);
    EXPECT_EQ(CSampleCodec::encode8(-5.0), 0xFE);
    // Halves round away from zero: 0.5/127 * 127 = 0.5 -> 1 -> 1 ^ 0x7F.
    EXPECT_EQ(CSampleCodec::encode8(0.5 / 127.0), 0x7E);
    EXPECT_EQ(CSampleCodec::encode8(-0.5 / 127.0), 0x80);
}

TEST(SampleCodec, SixteenBitsScaleBy32767AndClamp)
{
    EXPECT_EQ(decode16(32767), 1.0);
    EXPECT_DOUBLE_EQ(decode16(-32768), -32768.0 / 32767.0);
    EXPECT_EQ(CSampleCodec::encode16(1.5), 32767);
    EXPECT_EQ(CSampleCodec::encode16(-1.5), -32767);
    EXPECT_EQ(CSampleCodec::encode16(2.5 / 32767.0), 3);
    EXPECT_EQ(CSampleCodec::encode16(-2.5 / 32767.0), -3);
    EXPECT_EQ(CSampleCodec::encode16(std::nan("")), 0);
    EXPECT_EQ(encoded<std::int16_t>(0.25, 16), 8192); // 8191.75 rounds up
}

TEST(SampleCodec, FloatFormatsKeepThe32767ScaleWithoutClamping)
{
    EXPECT_EQ(encoded<float>(2.0, 32), 65534.0f);
    EXPECT_EQ(encoded<double>(-3.0, 64), -98301.0);
    EXPECT_EQ(encoded<float>(1e300, 32), std::numeric_limits<float>::infinity());

    unsigned char b[8];
    const float f = 32767.0f;
    std::memcpy(b, &f, 4);
    // The 32-bit reader multiplies by 1/32767 held as a float, so it is close to, not exactly, 1.
    EXPECT_NEAR(CSampleCodec::decode(b, 32, CSampleEncoding::SystemScale), 1.0, 1e-6);
    EXPECT_EQ(CSampleCodec::decode(b, 32, CSampleEncoding::SystemScale),
              32767.0 * static_cast<double>(0.00003051851f));
    const double d = 1.5 * 32767.0;
    std::memcpy(b, &d, 8);
    EXPECT_DOUBLE_EQ(CSampleCodec::decode(b, 64, CSampleEncoding::SystemScale), 1.5);
    EXPECT_EQ(CSampleCodec::decode(b, 64, CSampleEncoding::UnitFloat), d);
}

TEST(SampleCodec, ImportAndExportOneChannelOfAnInterleavedBlock)
{
    // Three stereo 16-bit frames: (100, -100), (200, -200), (300, -300).
    const std::int16_t frames[] = {100, -100, 200, -200, 300, -300};
    const auto* bytes = reinterpret_cast<const unsigned char*>(frames);
    CSampleBuffer right;
    right.resize(5, true);
    // Asking for more frames than the block holds reads only what is there.
    ASSERT_EQ(right.importSamples(bytes, sizeof frames, 1, 10, 16, 1, 2), 1);
    EXPECT_EQ(right.get(0), 0.0);
    EXPECT_DOUBLE_EQ(right.get(1), -100.0 / 32767.0);
    EXPECT_DOUBLE_EQ(right.get(3), -300.0 / 32767.0);
    EXPECT_EQ(right.get(4), 0.0);

    std::int16_t out[6] = {7, 7, 7, 7, 7, 7};
    ASSERT_EQ(right.exportSamples(reinterpret_cast<unsigned char*>(out), sizeof out, 2, 3, 16, 0, 2), 1);
    EXPECT_EQ(out[0], -200);
    EXPECT_EQ(out[2], -300);
    EXPECT_EQ(out[4], 0); // past the buffer's end
    EXPECT_EQ(out[1], 7); // the other channel is untouched

    EXPECT_EQ(right.importSamples(bytes, sizeof frames, 0, 3, 24, 0, 2), 0);
    EXPECT_EQ(right.importSamples(bytes, sizeof frames, 0, 3, 16, 2, 2), 0);
    EXPECT_EQ(right.exportSamples(reinterpret_cast<unsigned char*>(out), sizeof out, 0, 3, 12, 0, 1), 0);
}
