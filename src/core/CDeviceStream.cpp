#include "core/CArchive.h"

#include <QIODevice>

std::int64_t CDeviceStream::read(void* data, std::int64_t size) { return m_device.read(static_cast<char*>(data), size); }

std::int64_t CDeviceStream::write(const void* data, std::int64_t size)
{
    return m_device.write(static_cast<const char*>(data), size);
}

std::int64_t CDeviceStream::pos() const { return m_device.pos(); }

bool CDeviceStream::seek(std::int64_t position) { return m_device.seek(position); }

std::int64_t CDeviceStream::size() const { return m_device.size(); }

std::string CDeviceStream::errorString() const { return m_device.errorString().toStdString(); }
