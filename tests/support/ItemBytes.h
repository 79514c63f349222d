#pragma once

#include "core/CSectionCoder.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/CodingNames.h"
class CResourceHolder;
class CResourceItem;

// Byte-level helpers for the item record tests of every kind.

// The bytes an archive holds once `body` has written into it.
QByteArray archived(const std::function<void(CArchive&)>& body);

// Runs `body` on an archive reading `bytes`; returns how many bytes were left unread.
std::int64_t readArchived(QByteArray bytes, const std::function<void(CArchive&)>& body);

// Writes one item through `coder` (pass-through unless given) and returns its bytes.
QByteArray storeItem(CResourceItem& item, CSectionCoder coder = {});

// Reads one item from `bytes` through `coder`; returns how many bytes were left unread.
std::int64_t loadItem(CResourceItem& item, QByteArray bytes, CSectionCoder coder = {});

QByteArray le32(std::uint32_t value);
QByteArray le16(std::uint16_t value);

// 16-bit samples as a sound stores them.
QByteArray pcm16(std::initializer_list<std::int16_t> values);

// A coded string in pass-through form: its 4-byte count, then the characters.
QByteArray codedText(const std::string& text);

// The common record every item starts with: 0, 1, 0, ID, Comments.
QByteArray recordHeader(const std::string& id, const std::string& comments = {});

// Everything a saved document holds, in pass-through form: its ID and
// Comments, then every item's record, group by group.
QByteArray documentRecords(const CResourceHolder& holder);
