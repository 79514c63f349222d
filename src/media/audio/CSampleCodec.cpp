#include "media/audio/CSampleCodec.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "stored samples are copied byte for byte");

namespace {
// 1/32767 as the 32-bit float the reader of 32-bit files has always used.
constexpr float kInverse32767Float = 0.00003051851f;

double clampUnit(double value)
{
    // NaN has no place on the scale; it is stored as silence rather than
    // reaching an undefined float-to-integer conversion.
    if (std::isnan(value))
        return 0.0;
    return value < -1.0 ? -1.0 : (value > 1.0 ? 1.0 : value);
}

template <typename T> T loadLittle(const unsigned char* bytes)
{
    // The file format is little-endian and so is every target we build for.
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

template <typename T> void storeLittle(T value, unsigned char* bytes) { std::memcpy(bytes, &value, sizeof value); }

float toFloat(double value)
{
    // Values beyond the float range become infinities explicitly: the plain
    // conversion of such a double is undefined.
    if (value > FLT_MAX)
        return HUGE_VALF;
    if (value < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(value);
}
} // namespace

bool CSampleCodec::isSupported(int bits, CSampleEncoding encoding)
{
    switch (encoding) {
    case CSampleEncoding::SystemScale:
        return bits == 8 || bits == 16 || bits == 32 || bits == 64;
    case CSampleEncoding::UnitFloat:
        return bits == 32 || bits == 64;
    case CSampleEncoding::Integer32:
        return bits == 32;
    }
    return false;
}

double CSampleCodec::decode(const unsigned char* bytes, int bits, CSampleEncoding encoding)
{
    if (encoding == CSampleEncoding::UnitFloat)
        return bits == 32 ? static_cast<double>(loadLittle<float>(bytes)) : loadLittle<double>(bytes);
    if (encoding == CSampleEncoding::Integer32)
        return static_cast<double>(loadLittle<std::int32_t>(bytes)) * (1.0 / 2147483647.0);
    switch (bits) {
    case 8:
        return static_cast<double>(static_cast<std::int8_t>(bytes[0] ^ 0x7F)) * (1.0 / 127.0);
    case 16:
        return static_cast<double>(loadLittle<std::int16_t>(bytes)) * (1.0 / 32767.0);
    case 32:
        return static_cast<double>(loadLittle<float>(bytes)) * static_cast<double>(kInverse32767Float);
    case 64:
        return loadLittle<double>(bytes) * (1.0 / 32767.0);
    default:
        return 0.0;
    }
}

std::uint8_t CSampleCodec::encode8(double value)
{
    const auto stored = static_cast<std::int8_t>(std::round(clampUnit(value) * 127.0));
    return static_cast<std::uint8_t>(static_cast<std::uint8_t>(stored) ^ 0x7F);
}

std::int16_t CSampleCodec::encode16(double value)
{
    return static_cast<std::int16_t>(std::round(clampUnit(value) * 32767.0));
}

void CSampleCodec::encode(double value, int bits, unsigned char* bytes)
{
    switch (bits) {
    case 8:
        bytes[0] = encode8(value);
        break;
    case 16:
        storeLittle(encode16(value), bytes);
        break;
    case 32:
        storeLittle(toFloat(value * 32767.0), bytes);
        break;
    case 64:
        storeLittle(value * 32767.0, bytes);
        break;
    default:
        break;
    }
}
