#include "media/audio/CWavWriter.h"

#include "media/audio/CSampleBuffer.h"

#include <limits>
#include <new>

namespace {
void put16(QByteArray& out, std::uint16_t v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray& out, std::uint32_t v)
{
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

void putInfo(QByteArray& out, const char* tag, const std::string& text)
{
    if (text.empty())
        return;
    // Rounded up to a multiple of 4; a text that already is one gets no
    // terminating zero, as files written so far have it.
    const std::size_t size = (text.size() + 3) / 4 * 4;
    out.append(tag, 4);
    put32(out, static_cast<std::uint32_t>(size));
    out.append(text.data(), static_cast<qsizetype>(text.size()));
    out.append(static_cast<qsizetype>(size - text.size()), '\0');
}
} // namespace

QByteArray CWavWriter::infoList(const CWavInfoTexts& texts)
{
    QByteArray body("INFO");
    putInfo(body, "ICOP", texts.copyright);
    putInfo(body, "ICRD", texts.creationDate);
    putInfo(body, "IENG", texts.engineer);
    putInfo(body, "ISFT", texts.software);
    putInfo(body, "fact", texts.fact);
    QByteArray list("LIST");
    put32(list, static_cast<std::uint32_t>(body.size()));
    return list + body;
}

std::optional<QByteArray> CWavWriter::build(const std::vector<const CSampleBuffer*>& channels, std::uint32_t first,
                                            std::uint32_t count, int bits, std::uint32_t sampleRate,
                                            const CWavInfoTexts& texts)
{
    if ((bits != 8 && bits != 16 && bits != 32 && bits != 64) || channels.empty() || channels.size() > 0xFFFF)
        return std::nullopt;
    const std::uint64_t block = static_cast<std::uint64_t>(bits) / 8 * channels.size();
    const std::uint64_t dataSize = block * count;
    const std::uint64_t padded = dataSize + (dataSize & 1);
    const QByteArray list = infoList(texts);
    const std::uint64_t riffSize = 4 + 24 + 8 + padded + static_cast<std::uint64_t>(list.size());
    const std::uint64_t byteRate = block * sampleRate;
    constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
    if (riffSize > kMax32 || block > 0xFFFF || byteRate > kMax32)
        return std::nullopt;
    try {
        QByteArray out;
        out.reserve(static_cast<qsizetype>(riffSize + 8));
        out.append("RIFF");
        put32(out, static_cast<std::uint32_t>(riffSize));
        out.append("WAVEfmt ");
        put32(out, 16);
        put16(out, 1);
        put16(out, static_cast<std::uint16_t>(channels.size()));
        put32(out, sampleRate);
        put32(out, static_cast<std::uint32_t>(byteRate));
        put16(out, static_cast<std::uint16_t>(block));
        put16(out, static_cast<std::uint16_t>(bits));
        out.append("data");
        put32(out, static_cast<std::uint32_t>(dataSize));
        const qsizetype dataStart = out.size();
        out.append(static_cast<qsizetype>(padded), '\0');
        auto* data = reinterpret_cast<unsigned char*>(out.data() + dataStart);
        for (std::size_t c = 0; c < channels.size(); ++c)
            channels[c]->exportSamples(data, dataSize, first, count, bits, static_cast<int>(c),
                                       static_cast<int>(channels.size()));
        out.append(list);
        return out;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}
