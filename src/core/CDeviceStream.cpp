#include "core/CArchive.h"

#include <QIODevice>
#include <QSaveFile>

#include <fcntl.h>

std::int64_t CDeviceStream::read(void* data, std::int64_t size) { return m_device.read(static_cast<char*>(data), size); }

std::int64_t CDeviceStream::write(const void* data, std::int64_t size)
{
    const qint64 written = m_device.write(static_cast<const char*>(data), size);
    // A save file is synced to the disk before it replaces the document.
    // Handing what is written to the disk as the save goes, rather than all
    // at once at the end, lets the disk work while the rest is written.
    constexpr qint64 step = 16 << 20;
    if (written <= 0)
        return written;
    const qint64 end = m_device.pos();
    if (end / step != (end - written) / step)
        if (auto* file = qobject_cast<QSaveFile*>(&m_device); file && file->handle() >= 0)
            ::sync_file_range(file->handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
    return written;
}

std::int64_t CDeviceStream::pos() const { return m_device.pos(); }

bool CDeviceStream::seek(std::int64_t position) { return m_device.seek(position); }

std::int64_t CDeviceStream::size() const { return m_device.size(); }

std::string CDeviceStream::errorString() const { return m_device.errorString().toStdString(); }
