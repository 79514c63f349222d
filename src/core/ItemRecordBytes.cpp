#include "core/ItemRecordBytes.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"

#include <QBuffer>
#include <QHashFunctions>

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

// Digests what is written, in one pass over the bytes, and keeps nothing.
// The archive writes its buffer whole, so one item always gives the same
// runs.
class CDigestDevice : public QIODevice {
public:
    CDigestDevice() { open(QIODevice::WriteOnly); }
    std::uint64_t digest() const { return m_digest ^ m_written; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        m_digest = qHashBits(data, std::size_t(size), std::size_t(m_digest));
        m_written += std::uint64_t(size);
        return size;
    }

private:
    std::uint64_t m_digest = 0x9e3779b97f4a7c15u;
    std::uint64_t m_written = 0;
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

std::uint64_t recordDigest(CResourceItem& item)
{
    CDigestDevice device;
    store(item, device);
    return device.digest();
}

std::int64_t recordSize(CResourceItem& item)
{
    CCountingDevice device;
    store(item, device);
    return device.written();
}
