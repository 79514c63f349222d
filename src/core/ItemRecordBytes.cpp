#include "core/ItemRecordBytes.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"

#include <QBuffer>

namespace {
// Counts what is written and keeps nothing.
class CCountingDevice : public QIODevice {
public:
    CCountingDevice() { open(QIODevice::WriteOnly); }
    std::int64_t written() const { return m_written; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        m_written += size;
        return size;
    }

private:
    std::int64_t m_written = 0;
};

void store(CResourceItem& item, QIODevice& device)
{
    CDeviceArchive ar(device, CArchive::Mode::Store);
    CSectionCoder coder;
    item.serialize(ar, coder);
    ar.close();
}
} // namespace

QByteArray storeRecord(CResourceItem& item)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    store(item, buffer);
    return bytes;
}

bool loadRecord(CResourceItem& item, const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    try {
        CDeviceArchive ar(buffer, CArchive::Mode::Load);
        CSectionCoder coder;
        item.serialize(ar, coder);
        return true;
    } catch (const CArchiveException&) {
        return false;
    }
}

std::int64_t recordSize(CResourceItem& item)
{
    CCountingDevice device;
    store(item, device);
    return device.written();
}
