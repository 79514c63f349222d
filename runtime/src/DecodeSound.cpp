#include "quillop/runtime/Decoding.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillop {

namespace {
// An Ogg file in memory, read through libvorbisfile's callbacks.
struct MemoryOgg {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

std::size_t readOgg(void* to, std::size_t size, std::size_t count, void* source)
{
    auto& ogg = *static_cast<MemoryOgg*>(source);
    const std::size_t n = std::min(size * count, ogg.size - ogg.at);
    std::memcpy(to, ogg.data + ogg.at, n);
    ogg.at += n;
    return size ? n / size : 0;
}

int seekOgg(void* source, ogg_int64_t offset, int whence)
{
    auto& ogg = *static_cast<MemoryOgg*>(source);
    const ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? ogg_int64_t(ogg.at) : ogg_int64_t(ogg.size);
    const ogg_int64_t to = base + offset;
    if (to < 0 || to > ogg_int64_t(ogg.size))
        return -1;
    ogg.at = std::size_t(to);
    return 0;
}

long tellOgg(void* source) { return long(static_cast<MemoryOgg*>(source)->at); }

// An open stream, cleared however decoding ends.
class OggStream {
public:
    explicit OggStream(const ByteSpan& bytes) : m_source{bytes.data, bytes.size}
    {
        const ov_callbacks callbacks{readOgg, seekOgg, nullptr, tellOgg};
        m_open = bytes.size > 0 && ov_open_callbacks(&m_source, &m_file, nullptr, 0, callbacks) == 0;
    }
    ~OggStream()
    {
        if (m_open)
            ov_clear(&m_file);
    }
    bool open() const { return m_open; }
    OggVorbis_File& file() { return m_file; }

private:
    MemoryOgg m_source;
    OggVorbis_File m_file{};
    bool m_open = false;
};

bool decodeOgg(const ByteSpan& bytes, Pcm16& pcm, std::string& error)
{
    OggStream stream(bytes);
    const vorbis_info* info = stream.open() ? ov_info(&stream.file(), -1) : nullptr;
    if (!info || info->channels <= 0) {
        error = "the Ogg Vorbis stream could not be read";
        return false;
    }
    pcm.format = {info->channels, int(info->rate)};
    char buffer[8192];
    int section = 0;
    for (;;) {
        const long got = ov_read(&stream.file(), buffer, sizeof buffer, 0, 2, 1, &section);
        if (got == 0)
            return true;
        if (got < 0)
            continue;  // a hole in the stream: what follows still plays
        if (std::int64_t(pcm.samples.size()) * 2 + got > kMaxPcmBytes) {
            error = "the decoded sound is larger than a sound may be";
            return false;
        }
        const std::size_t at = pcm.samples.size();
        pcm.samples.resize(at + std::size_t(got) / 2);
        std::memcpy(pcm.samples.data() + at, buffer, std::size_t(got) / 2 * 2);
    }
}

std::int16_t fromFloat(float f)
{
    if (std::isnan(f))
        return 0;
    return static_cast<std::int16_t>(std::lround(std::clamp(f, -1.0f, 1.0f) * 32767.0f));
}
} // namespace

bool readOggFormat(const ByteSpan& ogg, SoundFormat& format)
{
    OggStream stream(ogg);
    const vorbis_info* info = stream.open() ? ov_info(&stream.file(), -1) : nullptr;
    format = info ? SoundFormat{info->channels, int(info->rate)} : SoundFormat{};
    return info != nullptr;
}

bool decodeSound(const SoundRecord& sound, Pcm16& pcm, std::string& error)
{
    pcm = Pcm16{};
    if (sound.ogg)
        return decodeOgg(sound.data, pcm, error);
    if (sound.channels <= 0 || (sound.bits != 8 && sound.bits != 16 && sound.bits != 32)) {
        error = "the sound's samples are of a size that does not play";
        return false;
    }
    pcm.format = {sound.channels, sound.sampleRate};
    const std::size_t width = std::size_t(sound.bits / 8);
    const std::size_t count = sound.data.size / width;
    pcm.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = sound.data.data + i * width;
        if (sound.bits == 8) {
            // Eight-bit samples read as the editor plays them.
            const double v = static_cast<std::int8_t>(p[0] ^ 0x7F) / 127.0;
            pcm.samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
        } else if (sound.bits == 16) {
            std::int16_t v;
            std::memcpy(&v, p, 2);
            pcm.samples[i] = v;
        } else {
            float f;
            std::memcpy(&f, p, 4);
            pcm.samples[i] = fromFloat(f);
        }
    }
    return true;
}

} // namespace quillop
