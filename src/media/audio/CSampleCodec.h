#pragma once

#include <cstddef>
#include <cstdint>

// How the bytes of one stored sample map to the -1..+1 scale.
enum class CSampleEncoding {
    // The table every file this system writes follows: 8 bits XOR 0x7F,
    // 16 bits over 32767, 32- and 64-bit floats on the +/-32767 scale.
    SystemScale,
    // IEEE floats already on the +/-1 scale (format tag 3 files of other programs).
    UnitFloat,
    // 32-bit two's complement integers, found in extensible PCM files of
    // other programs; this system never writes them.
    Integer32,
};

// Conversion of single stored samples to and from doubles.
class CSampleCodec {
public:
    static bool isSupported(int bits, CSampleEncoding encoding);
    static std::size_t bytesPerSample(int bits) { return static_cast<std::size_t>(bits / 8); }

    // `bytes` holds at least bytesPerSample(bits) bytes; the format must be supported.
    static double decode(const unsigned char* bytes, int bits, CSampleEncoding encoding);
    // Always written in the system's own scale.
    static void encode(double value, int bits, unsigned char* bytes);

    // The three rounding rules of the table, exposed for the tests.
    static std::uint8_t encode8(double value);
    static std::int16_t encode16(double value);
};
