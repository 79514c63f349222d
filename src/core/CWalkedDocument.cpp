#include "core/CWalkedDocument.h"

#include "core/CArchiveException.h"
#include "core/CResourceItem.h"
#include "core/ItemRecordBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// The file's bytes, mapped read-only: the pages are the system's cached
// copy of the file, so walking a large document allocates nothing for it.
class CWalkedDocument::CMapping {
public:
    explicit CMapping(const std::string& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
            // Mapped whole at once: one call instead of a fault per page.
            void* data = ::mmap(nullptr, std::size_t(info.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (data != MAP_FAILED) {
                m_data = static_cast<const std::uint8_t*>(data);
                m_size = std::size_t(info.st_size);
            }
        }
        ::close(fd);
    }
    ~CMapping()
    {
        if (m_data)
            ::munmap(const_cast<std::uint8_t*>(m_data), m_size);
    }
    CMapping(const CMapping&) = delete;
    CMapping& operator=(const CMapping&) = delete;

    const std::uint8_t* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

namespace {
// Digests each record as the walk shows it.
class CDigestingVisitor : public quillop::CItemWalk::IVisitor, public quillop::CValueSink {
public:
    explicit CDigestingVisitor(std::array<std::vector<CWalkedDocument::Row>, kGroupCount>& rows) : m_rows(rows) {}

    void section(int group, int count) override
    {
        auto& rows = m_rows[std::size_t(group)];
        rows.clear();
        rows.reserve(std::size_t(count));
    }
    quillop::CValueSink* sink() override { return this; }
    void item(int group, int, std::string id, const quillop::CItemWalk::Place& place) override
    {
        m_rows[std::size_t(group)].push_back({std::move(id), m_digest.digest(), place});
        m_digest.reset();
    }
    void value(const std::uint8_t* data, std::size_t size, bool) override { m_digest.add(data, size); }

private:
    std::array<std::vector<CWalkedDocument::Row>, kGroupCount>& m_rows;
    CRecordDigest m_digest;
};

// Writes each value of a record as the walk shows it into a section being
// written.
class CCopyingSink : public quillop::CValueSink {
public:
    CCopyingSink(CArchive& ar, CSectionCoder& coder) : m_ar(ar), m_coder(coder) {}
    void value(const std::uint8_t* data, std::size_t size, bool sectionKeys) override
    {
        if (sectionKeys)
            m_coder.writeBlock(m_ar, data, size);
        else
            m_ar.write(data, size);
    }

private:
    CArchive& m_ar;
    CSectionCoder& m_coder;
};
} // namespace

CWalkedDocument::CWalkedDocument() = default;
CWalkedDocument::~CWalkedDocument() = default;

bool CWalkedDocument::open(const std::string& path)
{
    auto map = std::make_shared<const CMapping>(path);
    if (!map->data())
        return false;
    CDigestingVisitor visitor(m_rows);
    const quillop::CItemWalk::Result walked = quillop::CItemWalk::walk(map->data(), map->size(), visitor);
    if (walked.error != quillop::OpenError::None || walked.droppedFrom)
        return false;
    m_map = std::move(map);
    m_id = walked.id;
    m_comments = walked.comments;
    return true;
}

std::unique_ptr<CResourceItem> CWalkedDocument::load(int group, int row, const CResourceItem& prototype) const
{
    const Row& r = this->row(group, row);
    std::unique_ptr<CResourceItem> item = prototype.createDefault();
    quillop::CMemoryStream stream(m_map->data(), std::int64_t(m_map->size()));
    stream.seek(r.place.offset);
    try {
        CArchive ar(stream, CArchive::Mode::Load);
        CSectionCoder coder = r.place.coder();
        item->serialize(ar, coder);
    } catch (const CArchiveException&) {
        return nullptr;
    }
    return item;
}

void CWalkedDocument::copyRecord(int group, int row, CArchive& ar, CSectionCoder& coder) const
{
    CCopyingSink sink(ar, coder);
    if (!m_rereader)
        m_rereader = std::make_unique<quillop::CItemWalk::CRereader>(m_map->data(), m_map->size());
    m_rereader->reread(group, this->row(group, row).place, sink);
}
