#include "core/CRegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

namespace {
bool statOf(const std::string& name, struct stat& info) { return !name.empty() && ::stat(name.c_str(), &info) == 0; }
} // namespace

bool CRegularFile::exists(const std::string& name)
{
    struct stat info;
    return statOf(name, info);
}

bool CRegularFile::isRegular(const std::string& name)
{
    struct stat info;
    return statOf(name, info) && S_ISREG(info.st_mode);
}

bool CRegularFile::isReplaceable(const std::string& name)
{
    struct stat info;
    return !statOf(name, info) || S_ISREG(info.st_mode);
}

bool CRegularFile::open(QFile& file, const std::string& name)
{
    if (name.empty())
        return false;
    // Without O_NONBLOCK the open itself would wait for a FIFO's writer.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0
        || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<QByteArray> CRegularFile::read(const std::string& name, qint64 limit)
{
    QFile file;
    if (!open(file, name))
        return std::nullopt;
    const qint64 size = file.size();
    if (size < 0 || size > limit)
        return std::nullopt;
    try {
        QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (size > 0 && file.read(bytes.data(), size) != size)
            return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}
