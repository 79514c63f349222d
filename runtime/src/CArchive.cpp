#include "quillop/runtime/CArchive.h"

#include "quillop/runtime/CArchiveException.h"
#include "quillop/runtime/CByteStream.h"
#include "quillop/runtime/CKeySource.h"

#include <algorithm>
#include <cstring>

namespace quillop {

CArchive::CArchive(CByteStream& file, Mode mode)
    : m_file(file), m_mode(mode), m_buffer(kBufferSize), m_fileSize(mode == Mode::Load ? file.size() : 0)
{
}

CArchive::~CArchive()
{
    // A destructor must not throw: a reader gives back its unread bytes, a
    // writer that was not closed explicitly is being abandoned (an exception
    // is on its way) and its pending bytes are dropped on purpose.
    if (!m_closed && isLoading()) {
        try {
            flush();
        } catch (...) {
        }
    }
}

CKeySource& CArchive::keySource() const
{
    return m_keySource ? *m_keySource : defaultKeySource();
}

void CArchive::writeInt32(std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                                    static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    write(bytes, 4);
}

std::int32_t CArchive::readInt32()
{
    unsigned char bytes[4];
    read(bytes, 4);
    const std::uint32_t u = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t(bytes[3]) << 24);
    return static_cast<std::int32_t>(u);
}

void CArchive::writeString(const std::string& text)
{
    const std::size_t n = text.size();
    if (n < 0xFF) {
        const auto b = static_cast<std::uint8_t>(n);
        write(&b, 1);
    } else {
        const std::uint8_t marker = 0xFF;
        write(&marker, 1);
        if (n < 0xFFFE) {
            const std::uint8_t w[2] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8)};
            write(w, 2);
        } else {
            const std::uint8_t w[2] = {0xFF, 0xFF};
            write(w, 2);
            writeInt32(static_cast<std::int32_t>(static_cast<std::uint32_t>(n)));
        }
    }
    write(text.data(), n);
}

namespace {
std::uint16_t readWord(CArchive& ar)
{
    std::uint8_t w[2];
    ar.read(w, 2);
    return static_cast<std::uint16_t>(w[0] | (w[1] << 8));
}

// The 1/3/7-byte length scheme; wide is set when the 0xFFFE mark was met.
std::uint32_t readLength(CArchive& ar, bool& wide)
{
    std::uint8_t b = 0;
    ar.read(&b, 1);
    if (b < 0xFF)
        return b;
    const std::uint16_t w = readWord(ar);
    if (w == 0xFFFE) {
        if (wide) // a second wide mark is not a valid form
            throw CArchiveException(CArchiveException::Cause::BadLength, "malformed string length");
        wide = true;
        return readLength(ar, wide);
    }
    if (w < 0xFFFE)
        return w;
    return static_cast<std::uint32_t>(ar.readInt32());
}
} // namespace

std::string CArchive::readString()
{
    bool wide = false;
    const std::uint32_t n = readLength(*this, wide);
    if (!wide) {
        requireRemaining(n);
        std::string text(n, '\0');
        read(text.data(), n);
        return text;
    }
    requireRemaining(std::int64_t(n) * 2);
    std::string text;
    text.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint16_t c = readWord(*this);
        // 8-bit text holds what fits; anything wider has no 8-bit form here.
        text.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    }
    return text;
}

void CArchive::write(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    if (size >= m_buffer.size()) {
        // A large block (a file copied as it stands) goes straight to the
        // file: copying it through the buffer would be one more pass.
        flush();
        while (size > 0) {
            const std::int64_t written = m_file.write(bytes, static_cast<std::int64_t>(size));
            if (written <= 0)
                throw CFileException("the file refused the written bytes: " + m_file.errorString());
            bytes += written;
            size -= static_cast<std::size_t>(written);
        }
        return;
    }
    while (size > 0) {
        if (m_end == m_buffer.size())
            flush();
        const std::size_t chunk = std::min(size, m_buffer.size() - m_end);
        std::memcpy(m_buffer.data() + m_end, bytes, chunk);
        m_end += chunk;
        bytes += chunk;
        size -= chunk;
    }
}

char* CArchive::roomToWrite(std::size_t minimum, std::size_t& room)
{
    if (m_buffer.size() - m_end < minimum)
        flush();
    room = m_buffer.size() - m_end;
    return m_buffer.data() + m_end;
}

void CArchive::wrote(std::size_t count) { m_end += std::min(count, m_buffer.size() - m_end); }

void CArchive::fillBuffer()
{
    const std::int64_t got = m_file.read(m_buffer.data(), static_cast<std::int64_t>(m_buffer.size()));
    m_begin = 0;
    m_end = got > 0 ? static_cast<std::size_t>(got) : 0;
}

void CArchive::read(void* data, std::size_t size)
{
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        if (m_begin == m_end && size >= m_buffer.size() / 4) {
            // Large blocks (pictures, sounds) go straight to their place:
            // copying them through the buffer would be one more pass.
            const std::int64_t got = m_file.read(bytes, static_cast<std::int64_t>(size));
            if (got <= 0)
                throw CArchiveException(CArchiveException::Cause::EndOfFile, "unexpected end of file");
            bytes += got;
            size -= static_cast<std::size_t>(got);
            continue;
        }
        if (m_begin == m_end) {
            fillBuffer();
            if (m_end == 0)
                throw CArchiveException(CArchiveException::Cause::EndOfFile, "unexpected end of file");
        }
        const std::size_t chunk = std::min(size, m_end - m_begin);
        std::memcpy(bytes, m_buffer.data() + m_begin, chunk);
        m_begin += chunk;
        bytes += chunk;
        size -= chunk;
    }
}

std::int64_t CArchive::remaining() const
{
    if (!isLoading())
        return m_file.size() - m_file.pos();
    // Every stored length is checked against this: the size is not asked
    // of the file again for each one.
    const std::int64_t unread = static_cast<std::int64_t>(m_end - m_begin);
    return m_fileSize - m_file.pos() + unread;
}

void CArchive::requireRemaining(std::int64_t size) const
{
    if (size < 0 || size > remaining())
        throw CArchiveException(CArchiveException::Cause::BadLength,
                                "a stored length runs past the end of the file");
}

void CArchive::flush()
{
    if (isLoading()) {
        const std::int64_t unread = static_cast<std::int64_t>(m_end - m_begin);
        if (unread > 0)
            m_file.seek(m_file.pos() - unread);
        m_begin = m_end = 0;
        return;
    }
    std::size_t done = 0;
    while (done < m_end) {
        const std::int64_t written = m_file.write(m_buffer.data() + done, static_cast<std::int64_t>(m_end - done));
        if (written <= 0)
            throw CFileException("the file refused the written bytes: " + m_file.errorString());
        done += static_cast<std::size_t>(written);
    }
    m_end = 0;
}

void CArchive::close()
{
    if (m_closed)
        return;
    flush();
    m_closed = true;
}

} // namespace quillop
