// Ogg sounds: the stream information, a sound item read from the file, and
// decoding the whole stream as a voice would.
#include "FuzzSupport.h"

#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/audio/COggVorbisDecoder.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    COggStreamInfo info;
    (void)COggVorbisDecoder::readInfo(bytes, info);
    CMVT_WavMemory sound;
    (void)sound.loadFromFile(fuzz::scratchFile("input.ogg", bytes));
    COggVorbisDecoder decoder;
    if (!decoder.open(bytes, 4096))
        return 0;
    std::vector<float> out(2 * 1024);
    // Every decode call consumes input or ends the stream; the bound only
    // keeps a stream that claims endless silence from taking the whole run.
    for (int calls = 0; calls < 4096 && !decoder.ended(); ++calls)
        if (decoder.decode(out.data(), 1024) <= 0)
            break;
    return 0;
}

#ifdef QUILLOP_LIBFUZZER
// Pages whose checksum fails are dropped before anything reads them, so a
// plain mutation almost never gets past the page layer. After each
// mutation every whole page gets its checksum again: the mutated bytes
// then reach the stream and Vorbis layers.
namespace {
std::uint32_t oggChecksum(const std::uint8_t* data, std::size_t size)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i)
        crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

void resealPages(std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kHeader = 27;
    std::size_t at = 0;
    while (at + kHeader <= size) {
        if (std::memcmp(data + at, "OggS", 4) != 0) {
            ++at;
            continue;
        }
        const std::size_t segments = data[at + 26];
        if (at + kHeader + segments > size)
            return;
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i)
            body += data[at + kHeader + i];
        const std::size_t length = kHeader + segments + body;
        if (at + length > size)
            return;
        std::memset(data + at + 22, 0, 4);
        const std::uint32_t crc = oggChecksum(data + at, length);
        for (int b = 0; b < 4; ++b)
            data[at + 22 + b] = std::uint8_t(crc >> (8 * b));
        at += length;
    }
}
} // namespace

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int /*seed*/)
{
    const std::size_t mutated = LLVMFuzzerMutate(data, size, maxSize);
    // QUILLOP_FUZZ_PLAIN=1 leaves the checksums broken, to measure what the
    // resealing gains.
    static const bool plain = std::getenv("QUILLOP_FUZZ_PLAIN") != nullptr;
    if (!plain)
        resealPages(data, mutated);
    return mutated;
}
#endif
