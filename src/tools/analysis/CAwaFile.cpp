#include "tools/analysis/CAwaFile.h"

#include "core/CRegularFile.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <bit>
#include <cstring>
#include <new>

namespace {
QString fileName(const std::string& path)
{
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}
} // namespace

int CAwaFile::write(const std::string& path, const std::vector<double>& entries)
{
    QSaveFile file(fileName(path));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    try {
        QByteArray bytes(static_cast<qsizetype>(entries.size() * 8), Qt::Uninitialized);
        char* out = bytes.data();
        for (double v : entries) {
            qToLittleEndian(std::bit_cast<quint64>(v), out);
            out += 8;
        }
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return 0;
        }
    } catch (const std::bad_alloc&) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}

int CAwaFile::read(const std::string& path, std::vector<double>& entries)
{
    QFile file;
    if (!CRegularFile::open(file, path))
        return 0;
    const qint64 size = file.size();
    if (size < 0 || static_cast<std::uint64_t>(size) / 8 > kMaxEntries)
        return 0;
    const auto count = static_cast<std::size_t>(size / 8);
    try {
        const QByteArray bytes = file.read(static_cast<qint64>(count * 8));
        if (static_cast<std::size_t>(bytes.size()) != count * 8)
            return 0;
        std::vector<double> loaded(count);
        const char* in = bytes.constData();
        for (std::size_t i = 0; i < count; ++i, in += 8)
            loaded[i] = std::bit_cast<double>(qFromLittleEndian<quint64>(in));
        entries.swap(loaded);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
