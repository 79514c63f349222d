#include "media/audio/CWavReader.h"

#include <cstring>

namespace {
std::uint16_t u16(const char* p)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
}

std::uint32_t u32(const char* p)
{
    return static_cast<std::uint32_t>(u16(p)) | static_cast<std::uint32_t>(u16(p + 2)) << 16;
}

bool isTag(const char* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// The fixed tail that every WAVE_FORMAT_EXTENSIBLE sub-format GUID shares
// after its leading 16-bit format tag.
constexpr unsigned char kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                             0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::optional<CSampleEncoding> encodingOf(std::uint16_t tag, std::uint16_t bits)
{
    if (tag == CWavReader::kTagPcm && CSampleCodec::isSupported(bits, CSampleEncoding::SystemScale))
        return CSampleEncoding::SystemScale;
    if (tag == CWavReader::kTagFloat && CSampleCodec::isSupported(bits, CSampleEncoding::UnitFloat))
        return CSampleEncoding::UnitFloat;
    return std::nullopt;
}
} // namespace

bool CWavReader::readFormat(const char* body, std::uint32_t size, CWavLayout& layout)
{
    if (size < 16)
        return false;
    layout.formatTag = u16(body);
    layout.channels = u16(body + 2);
    layout.sampleRate = u32(body + 4);
    layout.blockAlign = u16(body + 12);
    layout.bits = u16(body + 14);
    if (layout.formatTag != kTagExtensible) {
        layout.encoding = encodingOf(layout.formatTag, layout.bits);
        return true;
    }
    // Extensible: cbSize (2 bytes) of at least 22, valid bits, channel mask,
    // then the sub-format GUID whose first two bytes are the real tag.
    if (size < 40 || u16(body + 16) < 22 || std::memcmp(body + 26, kSubFormatTail, sizeof kSubFormatTail) != 0)
        return true;
    const std::uint16_t subTag = u16(body + 24);
    if (subTag == kTagPcm && layout.bits == 32)
        layout.encoding = CSampleEncoding::Integer32; // other programs' 32-bit PCM is integer
    else
        layout.encoding = encodingOf(subTag, layout.bits);
    return true;
}

std::optional<CWavLayout> CWavReader::locate(const QByteArray& head, qint64 fileSize, bool wholeData)
{
    const qint64 available = head.size();
    if (available < 12 || !isTag(head.constData(), "RIFF") || !isTag(head.constData() + 8, "WAVE"))
        return std::nullopt;
    CWavLayout layout;
    bool haveFormat = false;
    bool haveData = false;
    qint64 pos = 12;
    while (pos + 8 <= available && !(haveFormat && haveData)) {
        const char* header = head.constData() + pos;
        const std::uint32_t size = u32(header + 4);
        const qint64 body = pos + 8;
        const qint64 end = body + static_cast<qint64>(size);
        if (isTag(header, "data")) {
            if (wholeData && end > fileSize)
                return std::nullopt;
            layout.dataOffset = body;
            layout.dataSize = size;
            haveData = true;
            if (end > fileSize)
                break; // nothing can follow a chunk that runs past the end
        } else {
            if (end > fileSize)
                return std::nullopt;
            if (isTag(header, "fmt ") && !haveFormat) {
                if (end > available || !readFormat(head.constData() + body, size, layout))
                    return std::nullopt;
                haveFormat = true;
            }
        }
        pos = end + (size & 1);
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    return layout;
}

bool CWavReader::isReadable(const CWavLayout& layout)
{
    return layout.encoding && layout.channels > 0 && layout.sampleRate >= kMinSampleRate
           && layout.sampleRate <= kMaxSampleRate
           && layout.blockAlign == static_cast<std::uint32_t>(layout.channels) * (layout.bits / 8u);
}
