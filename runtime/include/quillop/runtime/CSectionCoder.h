#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillop {

class CArchive;
class CKeySource;

// Sees the values a coder reads, unscrambled, in file order: the record they
// make up is what a pass-through coder would have written, so it can be
// digested or copied elsewhere without being kept. A long value may come in
// several pieces, each but the last a whole number of words, so that a piece
// scrambled on its own scrambles as it would within its value.
class CValueSink {
public:
    virtual ~CValueSink() = default;
    // `sectionKeys`: the value was coded with the section's keys; otherwise
    // it stands in the file as it is (the data of a binary file).
    virtual void value(const std::uint8_t* data, std::size_t size, bool sectionKeys) = 0;
};

// Writes and reads the coded values of one stretch of a resource file. In
// scrambled mode each value is XOR-ed with the mask word and then has the
// offset word subtracted, word by word, with the odd tail bytes using the
// low bytes of the keys. The keys travel in plain in the coder header, so the
// scrambling only keeps the body from being read as text.
//
// Every operation reads or writes depending on the archive's direction and
// returns 1 on success, 0 on failure.
class CSectionCoder {
public:
    enum Mode : std::int32_t { PassThrough = 0, Scrambled = 1 };

    void reset();
    void prepareForWriting(CKeySource& source);

    int header(CArchive& ar);

    int codeInt(CArchive& ar, std::int32_t& value);
    // The two words a kind's record starts with after the fields every item
    // has: a zero and the record version, both ignored when read.
    int codeRecordHeader(CArchive& ar, std::int32_t version = 1);
    int codeShort(CArchive& ar, std::int16_t& value);
    int codeByte(CArchive& ar, std::uint8_t& value);
    int codeByte(CArchive& ar, std::int32_t& value);  // low byte out, zero-extended in
    int codeDouble(CArchive& ar, double& value);
    int codeColorPair(CArchive& ar, std::int32_t& colour, std::uint8_t& alpha);
    int codeString(CArchive& ar, std::string& text);
    int codeBlock(CArchive& ar, void* data, std::size_t size);
    // Writing only: the caller's bytes are read, never changed, so bytes
    // shared with others (an item's kept file bytes) need no copy first.
    int writeBlock(CArchive& ar, const void* data, std::size_t size);
    int codeByteArray(CArchive& ar, std::vector<std::uint8_t>& bytes);

    // The scrambling of one run, exposed for tests and for callers that move
    // raw runs themselves.
    void scramble(std::uint8_t* data, std::size_t size) const;
    void unscramble(std::uint8_t* data, std::size_t size) const;
    // Scrambles `size` bytes of `from` into `to` (which may be `from`).
    void scrambleInto(const std::uint8_t* from, std::uint8_t* to, std::size_t size) const;

    std::int32_t mode() const { return m_mode; }
    std::uint32_t maskWord() const { return m_mask; }
    std::uint32_t offsetWord() const { return m_offset; }
    void setKeys(std::int32_t mode, std::uint32_t mask, std::uint32_t offset);

    // Where the values read from now on are shown; none by default.
    void setSink(CValueSink* sink, bool sectionKeys = true)
    {
        m_sink = sink;
        m_sinkKeys = sectionKeys;
    }
    CValueSink* sink() const { return m_sink; }
    // Shows bytes this coder has unscrambled.
    void show(const std::uint8_t* data, std::size_t size) const
    {
        if (m_sink)
            m_sink->value(data, size, m_sinkKeys);
    }
    // Shows `size` bytes as this coder reads them, unscrambled on the way
    // (the bytes are left as they are): how a reader over bytes it may not
    // change passes on a long value.
    void showScrambled(const std::uint8_t* data, std::size_t size) const;

private:
    bool scrambling() const { return m_mode == Scrambled; }
    void unscrambleInto(const std::uint8_t* from, std::uint8_t* to, std::size_t size) const;

    std::int32_t m_mode = PassThrough;
    std::uint32_t m_mask = 0;
    std::uint32_t m_offset = 0;
    CValueSink* m_sink = nullptr;
    bool m_sinkKeys = true;
};

} // namespace quillop
