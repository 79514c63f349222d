#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

class CResourceItem;

// A 64-bit digest of a run of bytes that does not depend on the pieces they
// come in: a record digested as an item writes it and as a file walk reads
// it, value by value, gives the same digest.
class CRecordDigest {
public:
    void add(const void* data, std::size_t size);
    std::uint64_t digest() const;
    void reset()
    {
        m_digest = kStart;
        m_size = 0;
        m_pending = 0;
    }

private:
    static constexpr std::size_t kBlock = 4096;
    static constexpr std::uint64_t kStart = 0x9e3779b97f4a7c15u;
    void addBlock(const unsigned char* block);

    std::uint64_t m_digest = kStart;
    std::uint64_t m_size = 0;
    std::size_t m_pending = 0;
    unsigned char m_block[kBlock];
};

// An item's record in its kind's own file form (pass-through coding): what
// the edit history keeps of an item instead of a copy of the object.
QByteArray storeRecord(CResourceItem& item);
// Reads a record written by storeRecord back into an item of the same kind,
// replacing every field: false when the bytes do not read.
bool loadRecord(CResourceItem& item, const QByteArray& bytes);
// How many bytes storeRecord would give, without keeping them.
std::int64_t recordSize(CResourceItem& item);
// A 64-bit digest of what storeRecord would give, without keeping it: how
// large documents are compared item by item without copying their pictures
// and sounds. Equal records give equal digests; different ones, almost never.
// It is the CRecordDigest of the record's bytes.
std::uint64_t recordDigest(CResourceItem& item);
