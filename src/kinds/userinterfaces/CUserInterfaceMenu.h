#pragma once

#include "kinds/userinterfaces/CPictureRef.h"

#include <string>
#include <vector>

class UserInterface;

// One line of a menu built from a user interface.
struct CMenuEntry {
    enum class Kind { Command, Separator, SubMenu };

    Kind kind = Kind::Command;
    int itemIndex = -1;  // the item it was made from, reported back when chosen
    std::string id;
    std::string title;
    std::string helpText;
    CPictureRef picture;
    std::vector<CMenuEntry> children;  // sub-menus only
};

// Builds a menu tree from the items in order: separators, sub-menus opened by
// "[   Group Begin" (titled with its title) and closed by "]   Group End",
// and an entry per "Button". Other items add nothing; an end without an open
// group is ignored and groups left open close at the end. Sub-menus nest at
// most kMaxDepth deep; groups beyond that add their entries to the deepest
// sub-menu, so that a crafted file cannot build an unbounded tree.
class CUserInterfaceMenu {
public:
    static constexpr int kMaxDepth = 32;

    static std::vector<CMenuEntry> build(const UserInterface& ui);
};
