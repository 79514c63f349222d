#pragma once

#include <cstdint>
#include <string>

// The one-line description of a WAV file shown beside a chosen file name,
// for example "16 Bits, 2 Channels, 44100 Hz, 90 061 Samples, Time 0:02.042".
class CWavHeaderInfo {
public:
    static std::string describe(const std::string& path);

    // The pieces of the line, kept apart for the tests.
    static std::string groupThousands(std::uint64_t value);
    static std::string formatTime(std::uint64_t frames, std::uint32_t sampleRate);
};
