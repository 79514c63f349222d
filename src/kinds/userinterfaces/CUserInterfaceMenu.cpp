#include "kinds/userinterfaces/CUserInterfaceMenu.h"

#include "kinds/userinterfaces/UserInterface.h"

std::vector<CMenuEntry> CUserInterfaceMenu::build(const UserInterface& ui)
{
    std::vector<CMenuEntry> root;
    // Only the innermost open menu ever grows, so the pointers to the open
    // menus further out stay valid.
    std::vector<std::vector<CMenuEntry>*> open{&root};
    int ignoredGroups = 0;
    for (int i = 0; i < ui.itemCount(); ++i) {
        const UserInterfaceItem& item = *ui.item(i);
        std::vector<CMenuEntry>& menu = *open.back();
        CMenuEntry entry;
        entry.itemIndex = i;
        entry.id = item.id;
        entry.title = item.title;
        switch (item.type) {
        case UserInterfaceItem::TypeSeparator:
            entry.kind = CMenuEntry::Kind::Separator;
            menu.push_back(std::move(entry));
            break;
        case UserInterfaceItem::TypeGroupBegin:
            if (static_cast<int>(open.size()) > kMaxDepth) {
                ++ignoredGroups;
                break;
            }
            entry.kind = CMenuEntry::Kind::SubMenu;
            menu.push_back(std::move(entry));
            open.push_back(&menu.back().children);
            break;
        case UserInterfaceItem::TypeGroupEnd:
            if (ignoredGroups > 0)
                --ignoredGroups;
            else if (open.size() > 1)
                open.pop_back();
            break;
        case UserInterfaceItem::TypeButton:
            entry.kind = CMenuEntry::Kind::Command;
            entry.helpText = item.helpText;
            entry.picture = CPictureRef{item.image, ui.pictureIndex(item.image)};
            menu.push_back(std::move(entry));
            break;
        default:
            break;
        }
    }
    return root;
}
