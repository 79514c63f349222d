#pragma once

#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"
#include "kinds/worlds/GameWorld.h"
#include "support/ItemBytes.h"

#include <QByteArray>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace worldtest {

using ::le32;
inline QByteArray text(const std::string& s) { return codedText(s); }
inline QByteArray header(const std::string& id) { return recordHeader(id); }
inline QByteArray store(CResourceItem& item) { return storeItem(item); }
inline void load(CResourceItem& item, QByteArray bytes) { loadItem(item, std::move(bytes)); }


inline QByteArray le64(double d)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, 8);
    QByteArray b(8, '\0');
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>((bits >> (8 * i)) & 0xff);
    return b;
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
