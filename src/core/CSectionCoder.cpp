#include "core/CSectionCoder.h"

#include "core/CArchive.h"
#include "core/CKeySource.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {
template <typename T>
void toLittleEndian(T value, std::uint8_t* out)
{
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(out, &value, sizeof(T));  // the machines we build for are little-endian
}

template <typename T>
T fromLittleEndian(const std::uint8_t* in)
{
    T value;
    std::memcpy(&value, in, sizeof(T));
    return value;
}
} // namespace

void CSectionCoder::reset() { setKeys(PassThrough, 0, 0); }

void CSectionCoder::setKeys(std::int32_t mode, std::uint32_t mask, std::uint32_t offset)
{
    m_mode = mode;
    m_mask = mask;
    m_offset = offset;
}

void CSectionCoder::prepareForWriting(CKeySource& source)
{
    m_mode = Scrambled;
    m_mask = drawKeyWord(source);
    m_offset = drawKeyWord(source);
}

int CSectionCoder::header(CArchive& ar)
{
    if (!ar.isLoading()) {
        ar.writeInt32(m_mode);
        if (m_mode == Scrambled) {
            ar.writeInt32(static_cast<std::int32_t>(m_mask));
            ar.writeInt32(static_cast<std::int32_t>(m_offset));
        }
        return 1;
    }
    reset();
    const std::int32_t mode = ar.readInt32();
    if (mode != Scrambled)
        return 1;  // any other mode reads as pass-through, with no keys following
    const auto mask = static_cast<std::uint32_t>(ar.readInt32());
    const auto offset = static_cast<std::uint32_t>(ar.readInt32());
    setKeys(Scrambled, mask, offset);
    return 1;
}

void CSectionCoder::scramble(std::uint8_t* data, std::size_t size) const { scrambleInto(data, data, size); }

// Word by word through memcpy, so that the compiler can keep whole words
// (and vectors of them) in registers.
void CSectionCoder::scrambleInto(const std::uint8_t* from, std::uint8_t* to, std::size_t size) const
{
    if (!scrambling()) {
        if (from != to)
            std::memmove(to, from, size);
        return;
    }
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        std::uint32_t w;
        std::memcpy(&w, from + i, 4);
        w = (w ^ m_mask) - m_offset;
        std::memcpy(to + i, &w, 4);
    }
    for (; i < size; ++i)
        to[i] = static_cast<std::uint8_t>((from[i] ^ static_cast<std::uint8_t>(m_mask)) - static_cast<std::uint8_t>(m_offset));
}

void CSectionCoder::unscramble(std::uint8_t* data, std::size_t size) const
{
    if (!scrambling())
        return;
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        std::uint32_t w;
        std::memcpy(&w, data + i, 4);
        w = (w + m_offset) ^ m_mask;
        std::memcpy(data + i, &w, 4);
    }
    for (; i < size; ++i)
        data[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(data[i] + static_cast<std::uint8_t>(m_offset)) ^ static_cast<std::uint8_t>(m_mask));
}

int CSectionCoder::codeBlock(CArchive& ar, void* data, std::size_t size)
{
    if (size == 0)
        return 1;
    if (!data)
        return 0;
    auto* bytes = static_cast<std::uint8_t*>(data);
    if (ar.isLoading()) {
        ar.read(bytes, size);
        unscramble(bytes, size);
    } else {
        // Scrambled a piece at a time into a small buffer that stays in the
        // cache: one pass over the caller's bytes, which are left as they
        // are. The piece is a whole number of words, so that the words line
        // up with the block's start as the reader expects.
        constexpr std::size_t kPiece = 16384;
        std::uint8_t piece[kPiece];
        for (std::size_t done = 0; done < size; done += kPiece) {
            const std::size_t n = std::min(kPiece, size - done);
            scrambleInto(bytes + done, piece, n);
            ar.write(piece, n);
        }
    }
    return 1;
}

template <typename T>
static int codeScalar(CSectionCoder& coder, CArchive& ar, T& value)
{
    std::uint8_t bytes[sizeof(T)];
    if (!ar.isLoading())
        toLittleEndian(value, bytes);
    coder.codeBlock(ar, bytes, sizeof(T));
    if (ar.isLoading())
        value = fromLittleEndian<T>(bytes);
    return 1;
}

int CSectionCoder::codeInt(CArchive& ar, std::int32_t& value) { return codeScalar(*this, ar, value); }
int CSectionCoder::codeRecordHeader(CArchive& ar, std::int32_t version)
{
    std::int32_t zero = 0;
    codeInt(ar, zero);
    return codeInt(ar, version);
}

int CSectionCoder::codeShort(CArchive& ar, std::int16_t& value) { return codeScalar(*this, ar, value); }
int CSectionCoder::codeByte(CArchive& ar, std::uint8_t& value) { return codeScalar(*this, ar, value); }
int CSectionCoder::codeDouble(CArchive& ar, double& value) { return codeScalar(*this, ar, value); }

int CSectionCoder::codeByte(CArchive& ar, std::int32_t& value)
{
    std::uint8_t b = static_cast<std::uint8_t>(value);
    codeByte(ar, b);
    if (ar.isLoading())
        value = b;
    return 1;
}

int CSectionCoder::codeColorPair(CArchive& ar, std::int32_t& colour, std::uint8_t& alpha)
{
    codeInt(ar, colour);
    return codeByte(ar, alpha);
}

int CSectionCoder::codeString(CArchive& ar, std::string& text)
{
    if (!ar.isLoading()) {
        std::int32_t n = static_cast<std::int32_t>(text.size());
        codeInt(ar, n);
        std::string copy = text;  // strings are small; the caller's text stays const in spirit
        return codeBlock(ar, copy.data(), copy.size());
    }
    std::int32_t n = 0;
    codeInt(ar, n);
    text.clear();
    if (n <= 0)
        return 1;
    ar.requireRemaining(n);
    text.resize(static_cast<std::size_t>(n));
    return codeBlock(ar, text.data(), text.size());
}

int CSectionCoder::codeByteArray(CArchive& ar, std::vector<std::uint8_t>& bytes)
{
    if (!ar.isLoading()) {
        std::int32_t n = static_cast<std::int32_t>(bytes.size());
        codeInt(ar, n);
        return codeBlock(ar, bytes.data(), bytes.size());
    }
    std::int32_t n = 0;
    codeInt(ar, n);
    // A negative count cannot be an array size; it reads as empty, like a string.
    const std::int32_t size = n > 0 ? n : 0;
    ar.requireRemaining(size);
    bytes.assign(static_cast<std::size_t>(size), 0);
    return codeBlock(ar, bytes.data(), bytes.size());
}
