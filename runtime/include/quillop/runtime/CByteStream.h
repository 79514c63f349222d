#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillop {

// Where an archive's bytes come from or go to: a file of the editor, a block
// of memory a game already holds, or a file the runtime read itself.
class CByteStream {
public:
    virtual ~CByteStream() = default;
    // The bytes moved; 0 or less at the end or on failure.
    virtual std::int64_t read(void* data, std::int64_t size) = 0;
    virtual std::int64_t write(const void* data, std::int64_t size) = 0;
    virtual std::int64_t pos() const = 0;
    virtual bool seek(std::int64_t position) = 0;
    virtual std::int64_t size() const = 0;
    virtual std::string errorString() const { return {}; }
};

// Reads a block of bytes the caller keeps alive; writes nothing.
class CMemoryStream : public CByteStream {
public:
    CMemoryStream(const void* data, std::int64_t size)
        : m_data(static_cast<const std::uint8_t*>(data)), m_size(size > 0 ? size : 0) {}

    std::int64_t read(void* data, std::int64_t size) override;
    std::int64_t write(const void*, std::int64_t) override { return -1; }
    std::int64_t pos() const override { return m_pos; }
    bool seek(std::int64_t position) override;
    std::int64_t size() const override { return m_size; }

    // The unread bytes, for readers that take a stretch without copying it.
    const std::uint8_t* current() const { return m_data + m_pos; }

private:
    const std::uint8_t* m_data;
    std::int64_t m_size;
    std::int64_t m_pos = 0;
};

} // namespace quillop
