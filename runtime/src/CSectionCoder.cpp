#include "quillop/runtime/CSectionCoder.h"

#include "quillop/runtime/CArchive.h"
#include "quillop/runtime/CKeySource.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace quillop {

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

namespace {
// Four words at a time as one vector (plain SSE2 / NEON registers), the key
// in locals so that the compiler need not reload it after every store.
using Words = std::uint32_t __attribute__((vector_size(16)));

template <typename Step, typename ByteStep>
void codeWords(const std::uint8_t* from, std::uint8_t* to, std::size_t size, Step step, ByteStep byteStep)
{
    std::size_t i = 0;
    for (; i + sizeof(Words) <= size; i += sizeof(Words)) {
        Words w;
        std::memcpy(&w, from + i, sizeof(Words));
        w = step(w);
        std::memcpy(to + i, &w, sizeof(Words));
    }
    for (; i + 4 <= size; i += 4) {
        std::uint32_t w;
        std::memcpy(&w, from + i, 4);
        w = step(w);
        std::memcpy(to + i, &w, 4);
    }
    for (; i < size; ++i)
        to[i] = byteStep(from[i]);
}
} // namespace

void CSectionCoder::scrambleInto(const std::uint8_t* from, std::uint8_t* to, std::size_t size) const
{
    if (!scrambling()) {
        if (from != to)
            std::memmove(to, from, size);
        return;
    }
    const std::uint32_t mask = m_mask;
    const std::uint32_t offset = m_offset;
    codeWords(
        from, to, size, [=](auto w) { return (w ^ mask) - offset; },
        [=](std::uint8_t b) { return static_cast<std::uint8_t>((b ^ static_cast<std::uint8_t>(mask)) - static_cast<std::uint8_t>(offset)); });
}

void CSectionCoder::unscramble(std::uint8_t* data, std::size_t size) const
{
    if (scrambling())
        unscrambleInto(data, data, size);
}

void CSectionCoder::unscrambleInto(const std::uint8_t* from, std::uint8_t* to, std::size_t size) const
{
    const std::uint32_t mask = m_mask;
    const std::uint32_t offset = m_offset;
    codeWords(
        from, to, size, [=](auto w) { return (w + offset) ^ mask; },
        [=](std::uint8_t b) { return static_cast<std::uint8_t>(static_cast<std::uint8_t>(b + static_cast<std::uint8_t>(offset)) ^ static_cast<std::uint8_t>(mask)); });
}

int CSectionCoder::codeBlock(CArchive& ar, void* data, std::size_t size)
{
    if (!ar.isLoading())
        return writeBlock(ar, data, size);
    if (size == 0)
        return 1;
    if (!data)
        return 0;
    auto* bytes = static_cast<std::uint8_t*>(data);
    ar.read(bytes, size);
    unscramble(bytes, size);
    show(bytes, size);
    return 1;
}

void CSectionCoder::showScrambled(const std::uint8_t* data, std::size_t size) const
{
    if (!m_sink)
        return;
    if (!scrambling()) {
        m_sink->value(data, size, m_sinkKeys);
        return;
    }
    // Through a small buffer that stays in the cache: the value is never
    // copied whole.
    std::uint8_t piece[16384];
    for (std::size_t done = 0; done < size;) {
        const std::size_t n = std::min(size - done, sizeof piece);
        unscrambleInto(data + done, piece, n);
        m_sink->value(piece, n, m_sinkKeys);
        done += n;
    }
}

int CSectionCoder::writeBlock(CArchive& ar, const void* data, std::size_t size)
{
    if (size == 0)
        return 1;
    if (!data)
        return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    // Scrambled straight into the archive's buffer: one pass over the
    // caller's bytes. Pieces are whole words (but for the block's tail), so
    // that the words line up with the block's start as the reader expects.
    for (std::size_t done = 0; done < size;) {
        std::size_t room = 0;
        auto* to = reinterpret_cast<std::uint8_t*>(ar.roomToWrite(4, room));
        const std::size_t n = std::min(size - done, room / 4 * 4);
        scrambleInto(bytes + done, to, n);
        ar.wrote(n);
        done += n;
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
        return writeBlock(ar, text.data(), text.size());
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

} // namespace quillop
