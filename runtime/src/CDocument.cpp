#include "quillop/runtime/CDocument.h"

#include "CRecordReader.h"
#include "quillop/runtime/CArchiveException.h"
#include "quillop/runtime/CResourceFileHeader.h"
#include "quillop/runtime/CTextReferenceExpander.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>

namespace quillop {

namespace {
// The texts of a document, by ID, as the "[ID]" expansion looks them up.
class CDocumentTexts : public ITextLookup {
public:
    explicit CDocumentTexts(const CDocument& document) : m_document(document) {}
    const std::string* textOf(const std::string& id) const override
    {
        const int index = m_document.find(GroupTexts, id);
        return index < 0 ? nullptr : &m_document.texts()[static_cast<std::size_t>(index)].text;
    }

private:
    const CDocument& m_document;
};

// Closes a file descriptor however the read ends.
struct FileDescriptor {
    int fd;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
} // namespace

const char* openErrorText(OpenError error)
{
    switch (error) {
    case OpenError::None: return "no error";
    case OpenError::NotFound: return "no such file";
    case OpenError::NotRegular: return "not a regular file";
    case OpenError::Unreadable: return "the file could not be read";
    case OpenError::TooLarge: return "the file is larger than a document can be";
    case OpenError::WrongType: return "not a resource file";
    case OpenError::OlderVersion: return "written by an older version of the format";
    case OpenError::Broken: return "the file is truncated or broken";
    case OpenError::OutOfMemory: return "not enough memory to read the file";
    case OpenError::PasswordNeeded: return "the document asks for a password";
    case OpenError::WrongPassword: return "wrong password";
    }
    return "unknown error";
}

// Reads every section of a file into the document's records (a later
// section of the same group replaces the earlier one, as in the editor).
class CDocumentReader {
public:
    CDocumentReader(CDocument& document) : m_document(document), m_reader(document.m_bytes) {}

    OpenError read()
    {
        return m_reader.readDocument(m_document.m_id, m_document.m_comments, m_document.m_droppedFrom,
                                     [this](int group, CSectionCoder& coder) { readGroup(group, coder); });
    }

private:
    template <typename Record>
    void readItems(std::vector<Record>& items, CSectionCoder& coder, Record (CRecordReader::*readOne)(CSectionCoder&))
    {
        const std::int32_t count = m_reader.itemCount(coder);
        items.clear();
        items.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i)
            items.push_back((m_reader.*readOne)(coder));
    }

    void readGroup(int group, CSectionCoder& coder)
    {
        CDocument& d = m_document;
        switch (group) {
        case GroupTexts: return readItems(d.m_texts, coder, &CRecordReader::text);
        case GroupBitmaps: return readItems(d.m_bitmaps, coder, &CRecordReader::bitmap);
        case GroupSounds: return readItems(d.m_sounds, coder, &CRecordReader::sound);
        case GroupAnimations: return readItems(d.m_animations, coder, &CRecordReader::animation);
        case GroupTrajectories: return readItems(d.m_trajectories, coder, &CRecordReader::trajectory);
        case GroupMaps: return readItems(d.m_maps, coder, &CRecordReader::map);
        case GroupColors: return readItems(d.m_colors, coder, &CRecordReader::color);
        case GroupBinaryFiles: return readItems(d.m_binaryFiles, coder, &CRecordReader::binaryFile);
        case GroupUserInterfaces: return readItems(d.m_userInterfaces, coder, &CRecordReader::userInterface);
        case GroupWorlds: return readItems(d.m_worlds, coder, &CRecordReader::world);
        }
    }

    CDocument& m_document;
    CRecordReader m_reader;
};

std::optional<std::vector<std::uint8_t>> CDocument::readFileBytes(const std::string& path, OpenError& error)
{
    // Opened without waiting, so that a FIFO cannot hold the caller up, and
    // read only when it proves a regular file.
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        error = errno == ENOENT ? OpenError::NotFound : OpenError::Unreadable;
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = OpenError::NotRegular;
        return std::nullopt;
    }
    if (info.st_size > kReadLimit) {
        error = OpenError::TooLarge;
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        error = OpenError::OutOfMemory;
        return std::nullopt;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;  // the file shrank under us: what was read is what there is
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    error = OpenError::None;
    return bytes;
}

std::unique_ptr<CDocument> CDocument::read(std::vector<std::uint8_t> bytes, OpenError& error)
{
    try {
        std::unique_ptr<CDocument> document(new CDocument);
        document->m_bytes = std::move(bytes);
        error = CDocumentReader(*document).read();
        if (error != OpenError::None)
            return nullptr;
        document->indexIds();
        return document;
    } catch (const CArchiveException&) {
        error = OpenError::Broken;
    } catch (const std::bad_alloc&) {
        // A file whose stored sizes ask for more memory than there is.
        error = OpenError::Broken;
    } catch (const std::length_error&) {
        error = OpenError::Broken;
    }
    return nullptr;
}

namespace {
std::unique_ptr<CDocument> checked(std::unique_ptr<CDocument> document, const std::string& password, OpenError& error)
{
    if (!document)
        return nullptr;
    const std::string wanted = document->password();
    if (!wanted.empty() && password != wanted) {
        error = password.empty() ? OpenError::PasswordNeeded : OpenError::WrongPassword;
        return nullptr;
    }
    return document;
}
} // namespace

std::unique_ptr<CDocument> CDocument::openFile(const std::string& path, const std::string& password, OpenError& error)
{
    auto bytes = readFileBytes(path, error);
    if (!bytes)
        return nullptr;
    return checked(read(std::move(*bytes), error), password, error);
}

std::unique_ptr<CDocument> CDocument::openMemory(const void* data, std::size_t size, const std::string& password,
                                                 OpenError& error)
{
    if (size > static_cast<std::size_t>(kReadLimit)) {
        error = OpenError::TooLarge;
        return nullptr;
    }
    std::vector<std::uint8_t> bytes;
    try {
        const auto* begin = static_cast<const std::uint8_t*>(data);
        bytes.assign(begin, begin + size);
    } catch (const std::bad_alloc&) {
        error = OpenError::OutOfMemory;
        return nullptr;
    }
    return checked(read(std::move(bytes), error), password, error);
}

void CDocument::indexIds()
{
    for (int g = 0; g < kGroupCount; ++g) {
        auto& ids = m_ids[static_cast<std::size_t>(g)];
        const int n = count(g);
        ids.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            ids.emplace(item(g, i)->id, i);  // the first item of an ID keeps it
    }
}

int CDocument::count(int group) const
{
    switch (group) {
    case GroupTexts: return static_cast<int>(m_texts.size());
    case GroupBitmaps: return static_cast<int>(m_bitmaps.size());
    case GroupSounds: return static_cast<int>(m_sounds.size());
    case GroupAnimations: return static_cast<int>(m_animations.size());
    case GroupTrajectories: return static_cast<int>(m_trajectories.size());
    case GroupMaps: return static_cast<int>(m_maps.size());
    case GroupColors: return static_cast<int>(m_colors.size());
    case GroupBinaryFiles: return static_cast<int>(m_binaryFiles.size());
    case GroupUserInterfaces: return static_cast<int>(m_userInterfaces.size());
    case GroupWorlds: return static_cast<int>(m_worlds.size());
    }
    return 0;
}

const ItemRecord* CDocument::item(int group, int index) const
{
    if (index < 0 || index >= count(group))
        return nullptr;
    const auto i = static_cast<std::size_t>(index);
    switch (group) {
    case GroupTexts: return &m_texts[i];
    case GroupBitmaps: return &m_bitmaps[i];
    case GroupSounds: return &m_sounds[i];
    case GroupAnimations: return &m_animations[i];
    case GroupTrajectories: return &m_trajectories[i];
    case GroupMaps: return &m_maps[i];
    case GroupColors: return &m_colors[i];
    case GroupBinaryFiles: return &m_binaryFiles[i];
    case GroupUserInterfaces: return &m_userInterfaces[i];
    case GroupWorlds: return &m_worlds[i];
    }
    return nullptr;
}

int CDocument::find(int group, const std::string& id) const
{
    if (group < 0 || group >= kGroupCount)
        return -1;
    const auto& ids = m_ids[static_cast<std::size_t>(group)];
    const auto found = ids.find(id);
    return found == ids.end() ? -1 : found->second;
}

std::string CDocument::expandedText(int text) const
{
    if (text < 0 || text >= count(GroupTexts))
        return {};
    const CDocumentTexts lookup(*this);
    return CTextReferenceExpander(lookup).expand(m_texts[static_cast<std::size_t>(text)].text);
}

std::string CDocument::textParameter(const std::string& id, const std::string& defaultValue) const
{
    const int index = find(GroupTexts, id);
    return index < 0 ? defaultValue : m_texts[static_cast<std::size_t>(index)].text;
}

int CDocument::integerParameter(const std::string& id, int defaultValue) const
{
    const int index = find(GroupTexts, id);
    return index < 0 ? defaultValue
                     : static_cast<int>(std::strtol(m_texts[static_cast<std::size_t>(index)].text.c_str(), nullptr, 10));
}

double CDocument::realParameter(const std::string& id, double defaultValue) const
{
    const int index = find(GroupTexts, id);
    return index < 0 ? defaultValue : std::strtod(m_texts[static_cast<std::size_t>(index)].text.c_str(), nullptr);
}

int CDocument::stepDelay() const
{
    const int delay = integerParameter(kStepDelayId, kDefaultStepDelay);
    return delay < kMinimumStepDelay ? kMinimumStepDelay : delay;
}

} // namespace quillop
