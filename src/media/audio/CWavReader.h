#pragma once

#include "media/audio/CSampleCodec.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

// Where the format and the samples of a RIFF WAVE file are, and how its
// samples are stored.
struct CWavLayout {
    std::uint16_t formatTag = 0; // as stored: 1, 3 or 0xFFFE (extensible)
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
    // Resolved from the tag (and the sub-format of an extensible file);
    // empty when the samples are in a form this system cannot read.
    std::optional<CSampleEncoding> encoding;
    qint64 dataOffset = 0;
    std::uint32_t dataSize = 0;
};

// Walks the chunks of a RIFF WAVE file. Recorders put "LIST", "fact",
// "bext" and other chunks between the format and the samples, so every
// chunk is stepped over (odd sizes padded to even) until both "fmt " and
// "data" have been seen.
class CWavReader {
public:
    static constexpr std::uint16_t kTagPcm = 1;
    static constexpr std::uint16_t kTagFloat = 3;
    static constexpr std::uint16_t kTagExtensible = 0xFFFE;
    // Rates outside these no recording uses; buffers sized from the rate
    // (resampling, analysis) would otherwise grow with the claim, not the file.
    static constexpr std::uint32_t kMinSampleRate = 1000;
    static constexpr std::uint32_t kMaxSampleRate = 768000;

    // `head` is the start of a file of `fileSize` bytes (the whole file or
    // only its first part). When `wholeData` is set, the data chunk must lie
    // entirely within the file; otherwise its stated size is reported as is.
    // A chunk header whose size runs past the end of the file ends the walk.
    static std::optional<CWavLayout> locate(const QByteArray& head, qint64 fileSize, bool wholeData);

    // The layout's samples can be read: a known encoding, at least one
    // channel, a sample rate within the limits, and a block that is exactly
    // one frame.
    static bool isReadable(const CWavLayout& layout);

private:
    static bool readFormat(const char* body, std::uint32_t size, CWavLayout& layout);
};
