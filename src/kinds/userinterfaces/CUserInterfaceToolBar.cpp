#include "kinds/userinterfaces/CUserInterfaceToolBar.h"

#include "kinds/userinterfaces/UserInterface.h"

namespace {
CPictureRef picture(const UserInterface& ui, const std::string& id)
{
    return CPictureRef{id, ui.pictureIndex(id)};
}
} // namespace

CToolBarButton CUserInterfaceToolBar::button(const UserInterface& ui, const UserInterfaceItem& item, int itemIndex)
{
    CToolBarButton b;
    b.itemIndex = itemIndex;
    b.id = item.id;
    b.title = item.title;
    b.helpText = item.helpText;
    b.image = picture(ui, item.image);
    b.imageRight = picture(ui, item.option("Image Right"));
    b.backgroundUp = picture(ui, item.option("Bkgnd Up"));
    b.backgroundDown = picture(ui, item.option("Bkgnd Down"));
    b.border = item.option("Border") == "Yes";
    return b;
}

std::vector<CToolBarButton> CUserInterfaceToolBar::build(const UserInterface& ui)
{
    std::vector<CToolBarButton> buttons;
    for (int i = 0; i < ui.itemCount(); ++i) {
        const UserInterfaceItem& item = *ui.item(i);
        if (item.type == UserInterfaceItem::TypeButton || item.type == UserInterfaceItem::TypeButtons) {
            buttons.push_back(button(ui, item, i));
        } else if (item.type == UserInterfaceItem::TypeSeparator) {
            CToolBarButton gap;
            gap.gap = true;
            gap.itemIndex = i;
            buttons.push_back(gap);
        }
    }
    return buttons;
}
