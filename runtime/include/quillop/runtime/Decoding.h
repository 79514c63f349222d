#pragma once

#include "quillop/runtime/Records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillop {

// A picture as 8-bit red, green, blue and alpha per pixel, rows top first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// The most a decoded picture may take, whatever its header states.
inline constexpr std::int64_t kMaxPictureBytes = std::int64_t(256) << 20;

// Decodes a stored image file (kind 9 records) with stb_image: PNG, JPEG
// (baseline and progressive), BMP, GIF (first frame), TGA, PSD (composite),
// HDR, PIC and PNM. Other formats (TIFF, WebP, ...), other record kinds and
// pictures over kMaxPictureBytes fail with `error` saying why.
bool decodePicture(const BitmapRecord& bitmap, Picture& picture, std::string& error);

// What a sound plays as.
struct SoundFormat {
    int channels = 0;
    int sampleRate = 0;
};

// Sound as signed 16-bit samples, the channels of a frame side by side.
struct Pcm16 {
    SoundFormat format;
    std::vector<std::int16_t> samples;
    std::int64_t frames() const { return format.channels > 0 ? std::int64_t(samples.size()) / format.channels : 0; }
};

// The most a decoded sound may take.
inline constexpr std::int64_t kMaxPcmBytes = std::int64_t(1) << 30;

// The channels and rate an Ogg Vorbis stream's headers state; false (and
// zeros) when they do not read.
bool readOggFormat(const ByteSpan& ogg, SoundFormat& format);
// Any sound as 16-bit samples: Ogg Vorbis decoded with libvorbis, 8-, 16-
// and 32-bit (float) samples converted.
bool decodeSound(const SoundRecord& sound, Pcm16& pcm, std::string& error);

// The SHA-1 digest of bytes, as 40 lower-case hex digits.
std::string sha1Hex(const std::uint8_t* data, std::size_t size);

} // namespace quillop
