#include "media/audio/CWavHeaderInfo.h"

#include "core/CRegularFile.h"

#include "media/audio/AudioFileName.h"
#include "media/audio/CWavReader.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <new>

namespace {
// Enough to hold the format chunk and whatever recorders put before the data.
constexpr qint64 kHeadBytes = 1 << 16;

std::uint32_t u32At(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t u16At(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
} // namespace

std::string CWavHeaderInfo::groupThousands(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ' ');
    return digits;
}

std::string CWavHeaderInfo::formatTime(std::uint64_t frames, std::uint32_t sampleRate)
{
    const std::uint64_t ms =
        sampleRate ? static_cast<std::uint64_t>(std::round(static_cast<double>(frames) * 1000.0 / sampleRate)) : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%llu:%02u.%03u", static_cast<unsigned long long>(ms / 60000),
                  static_cast<unsigned>(ms / 1000 % 60), static_cast<unsigned>(ms % 1000));
    return text;
}

std::string CWavHeaderInfo::describe(const std::string& path)
{
    QFile file;
    if (!CRegularFile::open(file, path))
        return "Can't open filename";
    try {
        const QByteArray head = file.read(kHeadBytes);
        if (head.size() < 44 || !head.startsWith("RIFF"))
            return "Not a windows .WAV file !";
        // Files with chunks before the samples are described from the
        // chunks themselves; anything else from the canonical 44-byte header.
        CWavLayout layout;
        if (const auto found = CWavReader::locate(head, file.size(), false)) {
            layout = *found;
        } else {
            layout.channels = u16At(head, 22);
            layout.sampleRate = u32At(head, 24);
            layout.blockAlign = u16At(head, 32);
            layout.bits = u16At(head, 34);
            layout.dataSize = u32At(head, 40);
        }
        const std::uint32_t frames = layout.blockAlign ? layout.dataSize / layout.blockAlign : 0;
        char text[256];
        std::snprintf(text, sizeof text, "%u Bits, %u Channels, %u Hz, %s Samples, Time %s", unsigned{layout.bits},
                      unsigned{layout.channels}, layout.sampleRate, groupThousands(frames).c_str(),
                      formatTime(frames, layout.sampleRate).c_str());
        return text;
    } catch (const std::bad_alloc&) {
        return "Sorry, can't get file infos !";
    }
}
