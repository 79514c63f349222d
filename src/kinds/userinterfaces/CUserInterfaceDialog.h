#pragma once

#include "kinds/userinterfaces/CPictureRef.h"
#include "kinds/userinterfaces/CUserInterfaceToolBar.h"

#include <QColor>

#include <cstdint>
#include <string>
#include <vector>

class CResourceHolder;
class UserInterface;

// One parameter item of a test dialog, described as data for the parameter
// sheet to create. Only the members of its kind are meaningful.
struct CDialogField {
    // The parameter kinds of the sheet.
    enum class Kind { Title, Info, Button, ToolBar, Boolean, Integer, Float, Text, Filename, Filenames, Color, Bitmap };

    static std::string kindName(Kind kind);

    Kind kind = Kind::Info;
    int itemIndex = -1;   // the item it was made from
    int level = 0;        // indentation: group depth plus the item's level, never below 0
    std::string name;     // the item's ID
    std::string label;    // the item's title
    std::string text;     // Info: its text; Text: the default value
    bool separatorStyle = false;  // an Info drawn as a separator
    bool multiLine = false;       // Text on several lines

    // Boolean (0 or not), Integer and Text limits; Float. An empty minimum or
    // maximum in the item means no bound: the flag is false and the value is
    // the widest the kind allows.
    std::int64_t integerValue = 0;
    std::int64_t integerMinimum = 0;
    std::int64_t integerMaximum = 0;
    double realValue = 0;
    double realMinimum = 0;
    double realMaximum = 0;
    bool hasMinimum = false;
    bool hasMaximum = false;

    std::string filter;  // Filename(s)
    QColor colour;       // Color
    CPictureRef picture; // Bitmap
    CToolBarButton button;                // Button
    std::vector<CToolBarButton> buttons;  // ToolBar: a row of buttons
};

// Builds the test dialog of a user interface: the parameter items its items
// stand for, in order. "[   Group Begin" raises the group depth after its
// title and "]   Group End" lowers it (never below 0); "None", "* Custom *",
// "Grid", "Curve" and unknown types add nothing. A "Buttons" item shows the
// buttons of the user interface named by its default value, looked up in
// the holder given (none found: an empty row).
class CUserInterfaceDialog {
public:
    static constexpr const char* kTitle = "Test Dialog";
    static constexpr const char* kFileFilter = "All Files (*.*)\n*.*\n\n";

    static std::vector<CDialogField> build(const UserInterface& ui, const CResourceHolder* userInterfaces);
};
