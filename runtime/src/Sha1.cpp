#include "quillop/runtime/Decoding.h"

#include <cstdio>
#include <cstring>

namespace quillop {

namespace {
std::uint32_t rotate(std::uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }

void compress(std::uint32_t state[5], const std::uint8_t block[64])
{
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = std::uint32_t(block[4 * i]) << 24 | std::uint32_t(block[4 * i + 1]) << 16 |
               std::uint32_t(block[4 * i + 2]) << 8 | block[4 * i + 3];
    for (int i = 16; i < 80; ++i)
        w[i] = rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const std::uint32_t t = rotate(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotate(b, 30);
        b = a;
        a = t;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}
} // namespace

std::string sha1Hex(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t state[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::size_t done = 0;
    for (; done + 64 <= size; done += 64)
        compress(state, data + done);
    std::uint8_t tail[128] = {};
    const std::size_t left = size - done;
    if (left > 0)
        std::memcpy(tail, data + done, left);
    tail[left] = 0x80;
    const std::size_t tailSize = left < 56 ? 64 : 128;
    const std::uint64_t bits = std::uint64_t(size) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = std::uint8_t(bits >> (8 * i));
    for (std::size_t at = 0; at < tailSize; at += 64)
        compress(state, tail + at);
    char hex[41];
    for (int i = 0; i < 5; ++i)
        std::snprintf(hex + 8 * i, 9, "%08x", state[i]);
    return std::string(hex, 40);
}

} // namespace quillop
