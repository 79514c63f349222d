#include "CRecordReader.h"

#include "quillop/runtime/CArchiveException.h"
#include "quillop/runtime/CResourceFileHeader.h"
#include "quillop/runtime/GroupIndex.h"
#include "quillop/runtime/Region.h"

#include <algorithm>
#include <climits>

namespace quillop {

namespace {
// The least bytes each stored thing takes, which a stored count is checked
// against before anything is allocated for it.
constexpr std::int64_t kMinimumItemBytes = 20;
constexpr std::int64_t kAnimationFrameBytes = 16;
constexpr std::int64_t kPointBytes = 16;
constexpr std::int64_t kMapCellBytes = 2;
constexpr std::int64_t kInterfaceEntryBytes = 48;
constexpr std::int64_t kWorldElementBytes = 98;
constexpr std::int32_t kScrambledBinaryData = 0;
constexpr std::int32_t kFormatVersion = 3;
// A region whose rectangles together are wider or taller than an int has
// no size to show or save: the file is broken.
void refuseRegionTooLarge(const ByteSpan& bytes)
{
    CRegion region;
    if (!region.read(bytes))
        return;
    const RegionRect box = region.bounds();
    if (box.width - 1 >= INT_MAX || box.height - 1 >= INT_MAX)
        throw CArchiveException(CArchiveException::Cause::BadLength, "region larger than an int");
}
} // namespace

CRecordReader::CRecordReader(std::vector<std::uint8_t>& bytes)
    : m_writable(bytes.data()), m_size(bytes.size()), m_stream(bytes.data(), static_cast<std::int64_t>(bytes.size())),
      m_archive(m_stream, CArchive::Mode::Load)
{
}

CRecordReader::CRecordReader(const std::uint8_t* data, std::size_t size)
    : m_writable(nullptr), m_size(size), m_stream(data, static_cast<std::int64_t>(size)),
      m_archive(m_stream, CArchive::Mode::Load)
{
}

OpenError CRecordReader::readDocument(std::string& id, std::string& comments, std::optional<std::int64_t>& droppedFrom,
                                      const std::function<void(int group, CSectionCoder& coder)>& readGroup)
{
    const CResourceFileHeader header = CResourceFileHeader::read(m_archive);
    CSectionCoder documentCoder;
    documentCoder.header(m_archive);
    documentCoder.codeString(m_archive, id);
    documentCoder.codeString(m_archive, comments);
    if (header.signature != CResourceFileHeader::kSignature)
        return OpenError::WrongType;
    if (header.version < kFormatVersion)
        return OpenError::OlderVersion;
    while (!atEnd()) {
        const std::int64_t sectionStart = position();
        m_archive.readString();  // the section separator, not compared
        const std::int64_t start = position();
        CSectionCoder coder;
        const std::string tag = sectionTag(coder);
        const auto named = std::find(kGroupTags.begin(), kGroupTags.end(), tag);
        if (named == kGroupTags.end()) {
            seek(start);
            droppedFrom = sectionStart;
            break;
        }
        readGroup(static_cast<int>(named - kGroupTags.begin()), coder);
    }
    return OpenError::None;
}

std::string CRecordReader::itemId(int group, CSectionCoder& coder)
{
    switch (group) {
    case GroupTexts: return text(coder).id;
    case GroupBitmaps: return bitmap(coder).id;
    case GroupSounds: return sound(coder).id;
    case GroupAnimations: return animation(coder).id;
    case GroupTrajectories: return trajectory(coder).id;
    case GroupMaps: return map(coder).id;
    case GroupColors: return color(coder).id;
    case GroupBinaryFiles: return binaryFile(coder).id;
    case GroupUserInterfaces: return userInterface(coder).id;
    case GroupWorlds: return world(coder).id;
    }
    throw CArchiveException(CArchiveException::Cause::BadLength, "no such group");
}

std::int64_t CRecordReader::position()
{
    // Worked out rather than flushed: a walk asks it for every item, and a
    // flush would have the archive read its buffer again each time.
    return static_cast<std::int64_t>(m_size) - m_archive.remaining();
}

void CRecordReader::seek(std::int64_t position)
{
    m_archive.flush();
    m_stream.seek(position);
}

void CRecordReader::require(std::int64_t count, std::int64_t bytesEach)
{
    if (count > 0)
        m_archive.requireRemaining(count * bytesEach);
}

std::int32_t CRecordReader::integer(CSectionCoder& coder)
{
    std::int32_t value = 0;
    coder.codeInt(m_archive, value);
    return value;
}

double CRecordReader::real(CSectionCoder& coder)
{
    double value = 0.0;
    coder.codeDouble(m_archive, value);
    return value;
}

std::uint8_t CRecordReader::byte(CSectionCoder& coder)
{
    std::uint8_t value = 0;
    coder.codeByte(m_archive, value);
    return value;
}

std::string CRecordReader::string(CSectionCoder& coder)
{
    std::string text;
    coder.codeString(m_archive, text);
    return text;
}

ByteSpan CRecordReader::block(const CSectionCoder& coder, std::int64_t size, bool needed)
{
    if (size <= 0)
        return {};
    m_archive.requireRemaining(size);
    m_archive.flush();
    const std::int64_t at = m_stream.pos();
    const auto n = static_cast<std::size_t>(size);
    const std::uint8_t* stored = m_stream.current();
    m_stream.seek(at + size);
    if (m_writable) {
        std::uint8_t* bytes = m_writable + at;
        coder.unscramble(bytes, n);
        coder.show(bytes, n);
        return {bytes, n};
    }
    coder.showScrambled(stored, n);
    if (!needed)
        return {};
    m_needed.assign(stored, stored + n);
    coder.unscramble(m_needed.data(), n);
    return {m_needed.data(), n};
}

ByteSpan CRecordReader::byteArray(CSectionCoder& coder)
{
    return block(coder, std::max(integer(coder), 0));
}

std::string CRecordReader::sectionTag(CSectionCoder& coder)
{
    coder.header(m_archive);
    return string(coder);
}

std::int32_t CRecordReader::itemCount(CSectionCoder& coder)
{
    integer(coder);  // reserved
    integer(coder);  // version
    integer(coder);  // reserved
    const std::int32_t count = integer(coder);
    require(count, kMinimumItemBytes);
    return std::max(count, 0);
}

void CRecordReader::itemStart(CSectionCoder& coder, ItemRecord& item)
{
    integer(coder);  // reserved
    integer(coder);  // version
    integer(coder);  // reserved
    item.id = string(coder);
    item.comments = string(coder);
}

void CRecordReader::recordHeader(CSectionCoder& coder)
{
    integer(coder);
    integer(coder);
}

TextRecord CRecordReader::text(CSectionCoder& coder)
{
    TextRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    integer(coder);  // reserved
    r.text = string(coder);
    return r;
}

BitmapRecord CRecordReader::bitmap(CSectionCoder& coder)
{
    BitmapRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.kind = integer(coder);
    // The record's own ID and comments win over the item's.
    r.id = string(coder);
    r.sourceFileName = string(coder);
    r.comments = string(coder);
    r.width = real(coder);
    r.height = real(coder);
    r.bits = integer(coder);
    r.frames = integer(coder);
    r.offsetX = real(coder);
    r.offsetY = real(coder);
    if (r.kind == BitmapRecord::kEncodedImage || r.kind == BitmapRecord::kPaintingRegion)
        r.payload = block(coder, integer(coder), r.kind == BitmapRecord::kPaintingRegion);
    if (r.kind == BitmapRecord::kPaintingRegion)
        refuseRegionTooLarge(r.payload);
    return r;
}

SoundRecord CRecordReader::sound(CSectionCoder& coder)
{
    SoundRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.ogg = integer(coder) != 0;
    if (r.ogg) {
        r.data = block(coder, integer(coder));
        return r;
    }
    const std::int32_t frames = integer(coder);
    r.bits = integer(coder);
    r.channels = integer(coder);
    r.sampleRate = integer(coder);
    if (frames <= 0)
        return r;
    const std::int32_t count = integer(coder);
    m_archive.requireRemaining(count);  // also refuses a negative count
    const ByteSpan stored = block(coder, count);
    // The stored count is what the file holds; the frame count is only a
    // claim about it. Only the whole frames the bytes hold are kept.
    const std::int64_t perFrame = r.bits > 0 && r.bits % 8 == 0 && r.channels > 0 ? std::int64_t(r.bits / 8) * r.channels : 0;
    if (perFrame == 0)
        return r;
    const std::int64_t held = std::min<std::int64_t>(frames, count / perFrame);
    if (held <= 0)
        return r;
    r.data = {stored.data, static_cast<std::size_t>(held * perFrame)};
    r.frames = static_cast<std::int32_t>(held);
    return r;
}

AnimationRecord CRecordReader::animation(CSectionCoder& coder)
{
    AnimationRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.type = integer(coder);
    const std::int32_t count = std::max(integer(coder), 0);
    require(count, kAnimationFrameBytes);
    r.frames.resize(static_cast<std::size_t>(count));
    for (AnimationFrame& f : r.frames) {
        f.bitmap = integer(coder);
        f.delay = integer(coder);
        f.offsetX = integer(coder);
        f.offsetY = integer(coder);
    }
    r.playMode = integer(coder);
    return r;
}

TrajectoryRecord CRecordReader::trajectory(CSectionCoder& coder)
{
    TrajectoryRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.type = integer(coder);
    r.playMode = integer(coder);
    r.offsetX = integer(coder);
    r.offsetY = integer(coder);
    r.playSpeed = real(coder);
    r.closed = byte(coder) != 0;
    r.centerOfMass.x = real(coder);
    r.centerOfMass.y = real(coder);
    const std::int32_t count = std::max(integer(coder), 0);
    require(count, kPointBytes);
    r.points.resize(static_cast<std::size_t>(count));
    for (TrajectoryPoint& p : r.points) {
        p.x = real(coder);
        p.y = real(coder);
    }
    return r;
}

MapRecord CRecordReader::map(CSectionCoder& coder)
{
    MapRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.type = integer(coder);
    const std::int32_t columns = integer(coder);
    const std::int32_t lines = integer(coder);
    const std::int32_t cellHeight = integer(coder);
    const std::int32_t cellWidth = integer(coder);
    // A map without columns or lines has no cells, and keeps the default
    // cell size whatever sizes were stored.
    if (columns <= 0 || lines <= 0)
        return r;
    m_archive.requireRemaining(std::int64_t(columns) * lines * kMapCellBytes);
    r.columns = columns;
    r.lines = lines;
    r.cellWidth = cellWidth;
    r.cellHeight = cellHeight;
    r.cells.resize(static_cast<std::size_t>(columns) * static_cast<std::size_t>(lines));
    for (std::int16_t& cell : r.cells)
        coder.codeShort(m_archive, cell);
    return r;
}

ColorRecord CRecordReader::color(CSectionCoder& coder)
{
    ColorRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    integer(coder);  // reserved
    r.rgb = integer(coder);
    r.alpha = byte(coder);
    return r;
}

BinaryFileRecord CRecordReader::binaryFile(CSectionCoder& coder)
{
    BinaryFileRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.storage = integer(coder);
    const bool plainStorage = r.storage != kScrambledBinaryData;
    r.sourceFileName = string(coder);
    // Older files scrambled the data with the section's keys; any other flag
    // means the data stands in the file as it is.
    if (!plainStorage) {
        r.data = byteArray(coder);
        return r;
    }
    CSectionCoder plain;
    plain.setSink(coder.sink(), false);
    r.data = byteArray(plain);
    return r;
}

UserInterfaceRecord CRecordReader::userInterface(CSectionCoder& coder)
{
    UserInterfaceRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.type = integer(coder);
    const std::int32_t count = integer(coder);
    if (count <= 0)
        return r;
    require(count, kInterfaceEntryBytes);
    r.entries.resize(static_cast<std::size_t>(count));
    for (InterfaceEntry& entry : r.entries)
        entry.code(m_archive, coder);
    return r;
}

WorldRecord CRecordReader::world(CSectionCoder& coder)
{
    WorldRecord r;
    itemStart(coder, r);
    recordHeader(coder);
    r.type = integer(coder);
    r.offsetX = integer(coder);
    r.offsetY = integer(coder);
    r.playOffset = real(coder);
    r.playSpeed = real(coder);
    const std::int32_t count = std::max(integer(coder), 0);
    require(count, kWorldElementBytes);
    r.elements.resize(static_cast<std::size_t>(count));
    for (WorldElementRecord& element : r.elements)
        element.serialize(m_archive, coder);
    return r;
}

} // namespace quillop
