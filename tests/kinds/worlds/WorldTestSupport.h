#pragma once

#include "core/CArchive.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"
#include "kinds/worlds/GameWorld.h"

#include <QBuffer>
#include <QByteArray>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace worldtest {

inline QByteArray le32(std::int32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((std::uint32_t(v) >> (8 * i)) & 0xff);
    return b;
}

inline QByteArray le64(double d)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, 8);
    QByteArray b(8, '\0');
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>((bits >> (8 * i)) & 0xff);
    return b;
}

inline QByteArray text(const std::string& s) { return le32(int(s.size())) + QByteArray::fromStdString(s); }

// The common item header with empty comments.
inline QByteArray header(const std::string& id) { return le32(0) + le32(1) + le32(0) + text(id) + le32(0); }

inline QByteArray store(CResourceItem& item)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    CArchive ar(buffer, CArchive::Mode::Store);
    CSectionCoder plain;
    item.serialize(ar, plain);
    ar.close();
    return bytes;
}

inline void load(CResourceItem& item, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchive ar(buffer, CArchive::Mode::Load);
    CSectionCoder plain;
    item.serialize(ar, plain);
}

inline GameWorld* worldAt(CResourceHolder& holder, int row) { return dynamic_cast<GameWorld*>(holder.get(GroupWorlds, row)); }

// Appends a world whose elements have the given object types and indexes.
inline GameWorld& addWorld(CResourceHolder& holder, std::initializer_list<std::pair<int, int>> elements = {})
{
    GameWorld& w = *worldAt(holder, holder.newItem(GroupWorlds, "w" + std::to_string(holder.count(GroupWorlds))));
    for (auto [type, index] : elements) {
        WorldElement& e = *w.elementAt(w.addElement("e"));
        e.objectType = type;
        e.objectIndex = index;
    }
    return w;
}

inline std::vector<int> objectIndexes(const GameWorld& w)
{
    std::vector<int> out;
    for (const WorldElement& e : w.elements())
        out.push_back(e.objectIndex);
    return out;
}

} // namespace worldtest
