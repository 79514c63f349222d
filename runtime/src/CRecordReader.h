#pragma once

#include "quillop/runtime/CArchive.h"
#include "quillop/runtime/CByteStream.h"
#include "quillop/runtime/CDocument.h"
#include "quillop/runtime/CSectionCoder.h"
#include "quillop/runtime/Records.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillop {

// Reads the records of one document out of its buffer, in the order the
// editor writes them. Every count is checked against what remains before
// anything is allocated; a record that cannot be read throws
// CArchiveException. Large blocks are unscrambled where they lie and kept as
// spans of the buffer.
class CRecordReader {
public:
    explicit CRecordReader(std::vector<std::uint8_t>& bytes);
    // Over bytes that stay as they are (a read-only mapping of a file): long
    // values are shown to the coder's sink and not kept, so the records read
    // carry no spans.
    CRecordReader(const std::uint8_t* data, std::size_t size);

    CArchive& archive() { return m_archive; }
    // The logical read position.
    std::int64_t position();
    void seek(std::int64_t position);
    bool atEnd() { return position() >= static_cast<std::int64_t>(m_size); }

    // Reads the file header and the document's ID and Comments, then hands
    // every section to `readGroup` with the group its tag names, a later
    // section of a group replacing an earlier one. A section whose tag names
    // no group ends the walk: `droppedFrom` says where it starts.
    OpenError readDocument(std::string& id, std::string& comments, std::optional<std::int64_t>& droppedFrom,
                           const std::function<void(int group, CSectionCoder& coder)>& readGroup);

    // A section's coder and tag; the tag is what decides which group reads it.
    std::string sectionTag(CSectionCoder& coder);
    // The item count after the tag, checked against what remains.
    std::int32_t itemCount(CSectionCoder& coder);

    TextRecord text(CSectionCoder& coder);
    BitmapRecord bitmap(CSectionCoder& coder);
    SoundRecord sound(CSectionCoder& coder);
    AnimationRecord animation(CSectionCoder& coder);
    TrajectoryRecord trajectory(CSectionCoder& coder);
    MapRecord map(CSectionCoder& coder);
    ColorRecord color(CSectionCoder& coder);
    BinaryFileRecord binaryFile(CSectionCoder& coder);
    UserInterfaceRecord userInterface(CSectionCoder& coder);
    WorldRecord world(CSectionCoder& coder);
    // The record of one item of `group`, for walks that keep only its ID.
    std::string itemId(int group, CSectionCoder& coder);

private:
    void itemStart(CSectionCoder& coder, ItemRecord& item);
    void recordHeader(CSectionCoder& coder);
    std::int32_t integer(CSectionCoder& coder);
    double real(CSectionCoder& coder);
    std::uint8_t byte(CSectionCoder& coder);
    std::string string(CSectionCoder& coder);
    // `needed`: the reader itself looks into the bytes, so they are
    // unscrambled even when the bytes cannot be changed.
    ByteSpan block(const CSectionCoder& coder, std::int64_t size, bool needed = false);
    // A count followed by its bytes; a negative count reads as none.
    ByteSpan byteArray(CSectionCoder& coder);
    void require(std::int64_t count, std::int64_t bytesEach);

    std::uint8_t* m_writable;  // null when the bytes stay as they are
    std::size_t m_size;
    std::vector<std::uint8_t> m_needed;
    CMemoryStream m_stream;
    CArchive m_archive;
};

} // namespace quillop
