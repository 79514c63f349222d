#pragma once

#include <QByteArray>

#include <cstdint>

class CResourceItem;

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
std::uint64_t recordDigest(CResourceItem& item);
