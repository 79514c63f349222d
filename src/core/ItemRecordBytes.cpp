#include "core/ItemRecordBytes.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"

#include <QBuffer>
#include <QHashFunctions>

#include <algorithm>
#include <cstring>

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

// Digests what is written and keeps nothing.
class CDigestDevice : public QIODevice {
public:
    CDigestDevice() { open(QIODevice::WriteOnly); }
    std::uint64_t digest() const { return m_digest.digest(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        m_digest.add(data, std::size_t(size));
        return size;
    }

private:
    CRecordDigest m_digest;
};

void store(CResourceItem& item, QIODevice& device)
{
    CDeviceArchive ar(device, CArchive::Mode::Store);
    CSectionCoder coder;
    item.serialize(ar, coder);
    ar.close();
}
} // namespace

void CRecordDigest::addBlock(const unsigned char* block)
{
    m_digest = qHashBits(block, kBlock, std::size_t(m_digest));
}

void CRecordDigest::add(const void* data, std::size_t size)
{
    // Whole blocks are digested where they lie; only the ends of a run are
    // gathered, so that the digest is that of the bytes, whatever the runs.
    auto bytes = static_cast<const unsigned char*>(data);
    m_size += size;
    if (m_pending > 0) {
        const std::size_t n = std::min(size, kBlock - m_pending);
        std::memcpy(m_block + m_pending, bytes, n);
        m_pending += n;
        bytes += n;
        size -= n;
        if (m_pending < kBlock)
            return;
        addBlock(m_block);
        m_pending = 0;
    }
    for (; size >= kBlock; bytes += kBlock, size -= kBlock)
        addBlock(bytes);
    std::memcpy(m_block, bytes, size);
    m_pending = size;
}

std::uint64_t CRecordDigest::digest() const
{
    return qHashBits(m_block, m_pending, std::size_t(m_digest)) ^ m_size;
}

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
