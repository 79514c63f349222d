#include "kinds/binaryfiles/CBinaryFileItem.h"

#include "core/CArchive.h"
#include "core/CRegularFile.h"
#include "core/CSectionCoder.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <limits>

namespace {
QString toQString(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }
} // namespace

std::unique_ptr<CResourceItem> CBinaryFileItem::createDefault() const
{
    return std::make_unique<CBinaryFileItem>();
}

int CBinaryFileItem::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    coder.codeRecordHeader(ar);

    std::int32_t flag = 1;  // the editor always writes the data unscrambled
    coder.codeInt(ar, flag);
    // How the data stands in the file last read or written.
    m_plainStorage = flag;
    coder.codeString(ar, m_sourceFileName);

    // Older files scrambled the data with the section's keys (flag 0); any
    // other flag means the data stands in the file as it is.
    if (flag == 0)
        return coder.codeByteArray(ar, m_data);
    CSectionCoder passThrough;
    passThrough.reset();
    return passThrough.codeByteArray(ar, m_data);
}

int CBinaryFileItem::loadSource(const std::string& path)
{
    QFile file;
    if (!CRegularFile::open(file, path))
        return 0;
    // The length is stored as a 32-bit count; anything larger cannot be kept.
    const qint64 size = file.size();
    if (size < 0 || size > std::numeric_limits<std::int32_t>::max())
        return 0;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && file.read(reinterpret_cast<char*>(bytes.data()), size) != size)
        return 0;
    m_data = std::move(bytes);
    m_sourceFileName = path;
    return 1;
}

int CBinaryFileItem::saveSource(const std::string& path) const
{
    QSaveFile file(toQString(path));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    const auto size = static_cast<qint64>(m_data.size());
    if (size > 0 && file.write(reinterpret_cast<const char*>(m_data.data()), size) != size) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}

std::string CBinaryFileItem::specsText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%d Bytes", static_cast<int>(m_data.size()));
    return text;
}

std::string CBinaryFileItem::infoText() const
{
    const double length = static_cast<double>(m_data.size());
    char size[160];
    std::snprintf(size, sizeof size, "File Size:               %d bytes       %.2f KB       %.2f MB",
                  static_cast<int>(m_data.size()), length / 1024.0, length / 1048576.0);
    return "Original Filename: " + m_sourceFileName + "\n\n" + size;
}
