#include "kinds/userinterfaces/CUserInterfaceDialog.h"

#include "kinds/userinterfaces/CColorText.h"
#include "kinds/userinterfaces/UserInterface.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {
using Item = UserInterfaceItem;
using Kind = CDialogField::Kind;

std::int64_t toInteger(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }
double toReal(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

void setIntegerBounds(CDialogField& f, const Item& item, std::int64_t lowest, std::int64_t highest)
{
    f.hasMinimum = !item.minimumValue.empty();
    f.hasMaximum = !item.maximumValue.empty();
    f.integerMinimum = f.hasMinimum ? toInteger(item.minimumValue) : lowest;
    f.integerMaximum = f.hasMaximum ? toInteger(item.maximumValue) : highest;
}

// The field an item stands for; false when it adds nothing.
bool describe(CDialogField& f, const UserInterface& ui, const Item& item, int index, const CResourceHolder* userInterfaces)
{
    f.itemIndex = index;
    f.name = item.id;
    f.label = item.title;
    switch (item.type) {
    case Item::TypeSeparator:
        f.kind = Kind::Info;
        f.text = item.title;
        f.separatorStyle = true;
        return true;
    case Item::TypeTitle:
    case Item::TypeGroupBegin:
        f.kind = Kind::Title;
        return true;
    case Item::TypeButton:
        f.kind = Kind::Button;
        f.button = CUserInterfaceToolBar::button(ui, item, index);
        return true;
    case Item::TypeButtons: {
        f.kind = Kind::ToolBar;
        const UserInterface* row = userInterfaces ? UserInterface::find(*userInterfaces, item.defaultValue) : nullptr;
        if (row)
            f.buttons = CUserInterfaceToolBar::build(*row);
        return true;
    }
    case Item::TypeBoolean:
        f.kind = Kind::Boolean;
        f.integerValue = toInteger(item.defaultValue);
        return true;
    case Item::TypeFloatingNumber:
        f.kind = Kind::Float;
        f.realValue = toReal(item.defaultValue);
        f.hasMinimum = !item.minimumValue.empty();
        f.hasMaximum = !item.maximumValue.empty();
        f.realMinimum = f.hasMinimum ? toReal(item.minimumValue) : -std::numeric_limits<double>::max();
        f.realMaximum = f.hasMaximum ? toReal(item.maximumValue) : std::numeric_limits<double>::max();
        return true;
    case Item::TypeIntegerNumber:
        f.kind = Kind::Integer;
        f.integerValue = toInteger(item.defaultValue);
        setIntegerBounds(f, item, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max());
        return true;
    case Item::TypeText:
    case Item::TypeTextMultipleLines:
        f.kind = Kind::Text;
        f.multiLine = item.type == Item::TypeTextMultipleLines;
        f.text = item.defaultValue;
        setIntegerBounds(f, item, 0, std::numeric_limits<std::int32_t>::max());
        return true;
    case Item::TypeInformation:
        f.kind = Kind::Info;
        f.text = item.helpText.empty() ? item.title : item.title + "\n" + item.helpText;
        return true;
    case Item::TypeFilename:
    case Item::TypeFilenames:
        f.kind = item.type == Item::TypeFilename ? Kind::Filename : Kind::Filenames;
        f.filter = CUserInterfaceDialog::kFileFilter;
        return true;
    case Item::TypeColor:
        f.kind = Kind::Color;
        f.colour = CColorText::parse(item.defaultValue);
        return true;
    case Item::TypeImage:
        f.kind = Kind::Bitmap;
        f.picture = CPictureRef{item.image, ui.pictureIndex(item.image)};
        return true;
    default:
        return false;
    }
}
} // namespace

std::string CDialogField::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Title: return "Title";
    case Kind::Info: return "Info";
    case Kind::Button: return "Button";
    case Kind::ToolBar: return "ToolBar";
    case Kind::Boolean: return "Boolean";
    case Kind::Integer: return "Integer";
    case Kind::Float: return "Float";
    case Kind::Text: return "Text";
    case Kind::Filename: return "Filename";
    case Kind::Filenames: return "Filenames";
    case Kind::Color: return "Color";
    case Kind::Bitmap: return "Bitmap";
    }
    return "Base";
}

std::vector<CDialogField> CUserInterfaceDialog::build(const UserInterface& ui, const CResourceHolder* userInterfaces)
{
    std::vector<CDialogField> fields;
    int depth = 0;
    for (int i = 0; i < ui.itemCount(); ++i) {
        const Item& item = *ui.item(i);
        CDialogField f;
        if (describe(f, ui, item, i, userInterfaces)) {
            f.level = static_cast<int>(std::clamp<std::int64_t>(std::int64_t(depth) + item.level, 0, std::numeric_limits<int>::max()));
            fields.push_back(std::move(f));
        }
        if (item.type == Item::TypeGroupBegin)
            ++depth;
        else if (item.type == Item::TypeGroupEnd)
            depth = std::max(0, depth - 1);
    }
    return fields;
}
