#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillop {

class CByteStream;
class CKeySource;

// Buffered reader or writer of plain values over a byte stream, in the byte
// forms every resource file uses: little-endian 4-byte integers and
// length-prefixed 8-bit strings. One archive either reads or writes, never both.
class CArchive {
public:
    enum class Mode { Load, Store };
    static constexpr std::size_t kBufferSize = 0x8000;

    CArchive(CByteStream& stream, Mode mode);
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool isLoading() const { return m_mode == Mode::Load; }
    CByteStream& stream() { return m_file; }

    void writeInt32(std::int32_t value);
    std::int32_t readInt32();

    void writeString(const std::string& text);
    std::string readString();

    void write(const void* data, std::size_t size);
    // Writing bytes that are made on their way out (scrambled, converted)
    // straight into the buffer: room for at least `minimum` bytes (the
    // buffer is handed to the file first when it has less), `room` set to
    // all there is; then `wrote` says how many were put there.
    char* roomToWrite(std::size_t minimum, std::size_t& room);
    void wrote(std::size_t count);
    void read(void* data, std::size_t size);

    // Bytes of the file not yet consumed by this archive. Readers check every
    // stored length against it before allocating anything.
    std::int64_t remaining() const;

    // Throws CArchiveException(BadLength) when a stored length cannot fit in
    // what remains of the file.
    void requireRemaining(std::int64_t size) const;

    // Writing: hands the buffer to the file. Reading: moves the file position
    // back over the buffered bytes not yet consumed, so that the file
    // position is the logical read position.
    void flush();
    void close();

    // Source of key words for sections written through this archive.
    void setKeySource(CKeySource* source) { m_keySource = source; }
    CKeySource& keySource() const;

private:
    void fillBuffer();

    CByteStream& m_file;
    Mode m_mode;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;  // next unread byte (reading)
    std::size_t m_end = 0;    // end of valid bytes (reading) / of pending bytes (writing)
    bool m_closed = false;
    // Reading: the file's size, asked once; it cannot change under a load.
    std::int64_t m_fileSize = 0;
    CKeySource* m_keySource = nullptr;
};

} // namespace quillop
