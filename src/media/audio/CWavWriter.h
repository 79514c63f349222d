#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CSampleBuffer;

// The five texts of the INFO list, each written only when not empty.
struct CWavInfoTexts {
    std::string copyright;    // "ICOP"
    std::string creationDate; // "ICRD"
    std::string engineer;     // "IENG"
    std::string software;     // "ISFT"
    std::string fact;         // "fact"
};

// Builds the bytes of a WAV file: format tag 1 whatever the bit depth (32-
// and 64-bit samples are floats on the +/-32767 scale), the interleaved
// samples, then a "LIST" "INFO" chunk with the texts.
class CWavWriter {
public:
    // Frames [first, first + count) of every channel; channels shorter than
    // that contribute silence. Empty when the bit depth is not 8, 16, 32 or
    // 64, there is no channel, or the file would not fit the 32-bit sizes.
    static std::optional<QByteArray> build(const std::vector<const CSampleBuffer*>& channels, std::uint32_t first,
                                           std::uint32_t count, int bits, std::uint32_t sampleRate,
                                           const CWavInfoTexts& texts);

    // The "LIST" chunk alone (header included).
    static QByteArray infoList(const CWavInfoTexts& texts);
};
