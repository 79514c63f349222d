#pragma once

#include "quillop/runtime/CArchive.h"
#include "quillop/runtime/CByteStream.h"

class QIODevice;

using quillop::CArchive;
using quillop::CByteStream;

// A Qt device (file, buffer, save file) as the byte stream of an archive.
class CDeviceStream : public CByteStream {
public:
    explicit CDeviceStream(QIODevice& device) : m_device(device) {}

    std::int64_t read(void* data, std::int64_t size) override;
    std::int64_t write(const void* data, std::int64_t size) override;
    std::int64_t pos() const override;
    bool seek(std::int64_t position) override;
    std::int64_t size() const override;
    std::string errorString() const override;

private:
    QIODevice& m_device;
};

// Holds the stream of a CDeviceArchive; a base of its own, so that the
// stream is made before the archive that asks it for its size as it starts.
struct CDeviceStreamHolder {
    explicit CDeviceStreamHolder(QIODevice& device) : deviceStream(device) {}
    CDeviceStream deviceStream;
};

// An archive over a Qt device.
class CDeviceArchive : private CDeviceStreamHolder, public CArchive {
public:
    CDeviceArchive(QIODevice& device, Mode mode) : CDeviceStreamHolder(device), CArchive(deviceStream, mode) {}
};
