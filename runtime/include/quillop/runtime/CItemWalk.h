#pragma once

#include "quillop/runtime/CDocument.h"
#include "quillop/runtime/CSectionCoder.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillop {

class CRecordReader;

// Walks the items of a document held in bytes that stay as they are (a
// read-only mapping of its file), one record at a time, showing every value
// of each record to a sink: how documents are compared, or copied item by
// item, without holding their pictures and sounds.
class CItemWalk {
public:
    // Where one item's record stands in the bytes, to read it again.
    struct Place {
        std::int64_t offset = 0;  // where the record starts
        std::int32_t mode = CSectionCoder::PassThrough;  // its section's keys
        std::uint32_t mask = 0;
        std::uint32_t offsetWord = 0;

        // A coder with the section's keys, to read the record by other means.
        CSectionCoder coder() const;
    };

    class IVisitor {
    public:
        virtual ~IVisitor() = default;
        // A section of `group` with `count` items starts: it replaces what an
        // earlier section of the group held.
        virtual void section(int group, int count) = 0;
        // Where the values of the next record go (may be none).
        virtual CValueSink* sink() = 0;
        // The record just shown was item `row` of `group`.
        virtual void item(int group, int row, std::string id, const Place& place) = 0;
    };

    struct Result {
        OpenError error = OpenError::None;  // WrongType, OlderVersion or Broken
        std::string id;
        std::string comments;
        // Where a section no group reads begins: the rest was not walked.
        std::optional<std::int64_t> droppedFrom;
    };

    static Result walk(const std::uint8_t* data, std::size_t size, IVisitor& visitor);

    // Shows the values of records again, one after another: records that
    // follow each other in the bytes are read on without going back.
    class CRereader {
    public:
        CRereader(const std::uint8_t* data, std::size_t size);
        ~CRereader();
        CRereader(const CRereader&) = delete;
        CRereader& operator=(const CRereader&) = delete;
        // Throws CArchiveException when the record does not read.
        void reread(int group, const Place& place, CValueSink& sink);

    private:
        std::unique_ptr<CRecordReader> m_reader;
    };
};

} // namespace quillop
