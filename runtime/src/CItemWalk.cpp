#include "quillop/runtime/CItemWalk.h"

#include "CRecordReader.h"
#include "quillop/runtime/CArchiveException.h"

#include <new>
#include <stdexcept>

namespace quillop {

CSectionCoder CItemWalk::Place::coder() const
{
    CSectionCoder coder;
    coder.setKeys(mode, mask, offsetWord);
    return coder;
}

CItemWalk::Result CItemWalk::walk(const std::uint8_t* data, std::size_t size, IVisitor& visitor)
{
    Result result;
    try {
        CRecordReader reader(data, size);
        result.error = reader.readDocument(result.id, result.comments, result.droppedFrom, [&](int group, CSectionCoder& coder) {
            const std::int32_t count = reader.itemCount(coder);
            visitor.section(group, count);
            Place place{0, coder.mode(), coder.maskWord(), coder.offsetWord()};
            for (std::int32_t row = 0; row < count; ++row) {
                place.offset = reader.position();
                coder.setSink(visitor.sink());
                std::string id = reader.itemId(group, coder);
                visitor.item(group, row, std::move(id), place);
            }
        });
    } catch (const CArchiveException&) {
        result.error = OpenError::Broken;
    } catch (const std::bad_alloc&) {
        result.error = OpenError::Broken;
    } catch (const std::length_error&) {
        result.error = OpenError::Broken;
    }
    return result;
}

CItemWalk::CRereader::CRereader(const std::uint8_t* data, std::size_t size)
    : m_reader(std::make_unique<CRecordReader>(data, size))
{
}

CItemWalk::CRereader::~CRereader() = default;

void CItemWalk::CRereader::reread(int group, const Place& place, CValueSink& sink)
{
    if (m_reader->position() != place.offset)
        m_reader->seek(place.offset);
    CSectionCoder coder = place.coder();
    coder.setSink(&sink);
    m_reader->itemId(group, coder);
}

} // namespace quillop
