#include "quillop/runtime/Decoding.h"

#include <stb_image.h>

#include <climits>
#include <cstring>

namespace quillop {

namespace {
std::uint32_t crc32(const std::uint8_t* data, std::size_t size)
{
    static const auto table = [] {
        struct Table {
            std::uint32_t entries[256];
        } t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t.entries[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = table.entries[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t bigEndian(const std::uint8_t* p) { return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// A PNG whose chunks run past its bytes, or whose critical chunks fail their
// checksum, is damaged: the editor's decoder refuses it, and so does the
// runtime rather than show what stb_image would make of it.
bool damagedPng(const ByteSpan& bytes)
{
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size < 8 || std::memcmp(bytes.data, kSignature, 8) != 0)
        return false;
    for (std::size_t at = 8; at < bytes.size;) {
        if (bytes.size - at < 12)
            return true;
        const std::uint32_t length = bigEndian(bytes.data + at);
        if (length > bytes.size - at - 12)
            return true;
        const std::uint8_t* type = bytes.data + at + 4;
        const bool critical = (type[0] & 0x20) == 0;
        if (critical && crc32(type, length + 4) != bigEndian(type + 4 + length))
            return true;
        if (std::memcmp(type, "IEND", 4) == 0)
            return false;
        at += 12 + std::size_t(length);
    }
    return true;
}
} // namespace

bool decodePicture(const BitmapRecord& bitmap, Picture& picture, std::string& error)
{
    picture = Picture{};
    if (bitmap.kind != BitmapRecord::kEncodedImage) {
        error = "the bitmap holds no image file";
        return false;
    }
    if (bitmap.payload.size == 0 || bitmap.payload.size > INT_MAX) {
        error = "the image file is empty";
        return false;
    }
    if (damagedPng(bitmap.payload)) {
        error = "the image file is damaged";
        return false;
    }
    const auto size = static_cast<int>(bitmap.payload.size);
    int width = 0, height = 0, channels = 0;
    // The header is read first: a stated size is never trusted with memory.
    if (!stbi_info_from_memory(bitmap.payload.data, size, &width, &height, &channels)) {
        error = std::string("the image file could not be decoded: ") + stbi_failure_reason();
        return false;
    }
    if (width <= 0 || height <= 0 || std::int64_t(width) * height * 4 > kMaxPictureBytes) {
        error = "the picture is larger than a picture may be";
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(bitmap.payload.data, size, &width, &height, &channels, 4);
    if (!pixels) {
        error = std::string("the image file could not be decoded: ") + stbi_failure_reason();
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(pixels, pixels + std::size_t(width) * std::size_t(height) * 4);
    stbi_image_free(pixels);
    return true;
}

} // namespace quillop
