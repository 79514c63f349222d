#pragma once

#include "kinds/userinterfaces/CPictureRef.h"

#include <string>
#include <vector>

class UserInterface;
class UserInterfaceItem;

// One button of a tool bar or of a row of buttons, or a gap between them.
struct CToolBarButton {
    bool gap = false;
    int itemIndex = -1;      // the item it was made from
    std::string id;          // the command name the button sends
    std::string title;
    std::string helpText;
    CPictureRef image;
    CPictureRef imageRight;  // state options "Image Right", "Bkgnd Up", "Bkgnd Down"
    CPictureRef backgroundUp;
    CPictureRef backgroundDown;
    bool border = false;     // state option "Border" is "Yes"
};

// Turns a user interface into tool-bar buttons: "Button" and "Buttons"
// items become buttons, "--- Separator" items gaps; other items add nothing.
class CUserInterfaceToolBar {
public:
    static std::vector<CToolBarButton> build(const UserInterface& ui);
    // The button an item stands for, its pictures looked up in the user
    // interface's picture source.
    static CToolBarButton button(const UserInterface& ui, const UserInterfaceItem& item, int itemIndex);
};
