#pragma once

#include "core/CResourceItem.h"
#include "kinds/userinterfaces/UserInterfaceItem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CResourceHolder;

// A menu, tool bar or parameter dialog described as data: a typed, ordered
// list of user interface items. Pictures named by the items are bitmaps of
// the picture source (the program's interface resources, when it has one).
class UserInterface : public CResourceItem {
public:
    enum Type : std::int32_t { TypeNone = 0, TypeMenu = 1, TypeParameters = 2, TypeToolBar = 3 };
    static constexpr int kTypeCount = 4;

    explicit UserInterface(const CResourceHolder* pictureSource = nullptr) : m_pictureSource(pictureSource) {}

    // New user interfaces share the prototype's picture source.
    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;

    // "None", "Menu", "Parameters", "Tool Bar"; "Unkown" for other values.
    static std::string typeText(std::int32_t type);
    static std::vector<std::string> typeTexts();

    // The user interface with that ID in a holder's User Interfaces group.
    static const UserInterface* find(const CResourceHolder& holder, const std::string& id);

    std::int32_t type() const { return m_type; }
    void setType(std::int32_t type) { m_type = type; }

    const CResourceHolder* pictureSource() const { return m_pictureSource; }
    void setPictureSource(const CResourceHolder* source) { m_pictureSource = source; }
    // Index of the bitmap with that ID in the picture source; -1 when the ID
    // is empty, there is no source or it holds no such bitmap.
    int pictureIndex(const std::string& bitmapId) const;

    // Item operations; an index out of range returns 0 (or nullptr, -1) and
    // changes nothing.
    int itemCount() const { return static_cast<int>(m_items.size()); }
    UserInterfaceItem* item(int i) const;
    // A new item with that ID before position at (at == count appends); its
    // index, or -1.
    int insertItem(int at, const std::string& id);
    int appendItem(const std::string& id) { return insertItem(itemCount(), id); }
    int removeItem(int i);
    int moveItem(int from, int to);
    int swapItems(int i, int j);
    void clearItems() { m_items.clear(); }

private:
    bool validItem(int i) const { return i >= 0 && i < itemCount(); }

    const CResourceHolder* m_pictureSource = nullptr;
    std::int32_t m_type = TypeNone;
    std::vector<std::unique_ptr<UserInterfaceItem>> m_items;
};
