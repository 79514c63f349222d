#pragma once

#include "quillop/runtime/Records.h"

#include <cstdint>
#include <string>
#include <vector>

// One entry of a user interface: a button, a separator, a group bracket, a
// title or a typed value field with its default, bounds, picture and help
// text. Not an item of a group: it lives in its user interface's list.
class UserInterfaceItem : public quillop::InterfaceEntry {
public:
    enum Type : std::int32_t {
        TypeNone = 0,
        TypeCustom = 1,
        TypeSeparator = 2,
        TypeGroupBegin = 3,
        TypeGroupEnd = 4,
        TypeTitle = 5,
        TypeButton = 6,
        TypeButtons = 7,
        TypeBoolean = 8,
        TypeFloatingNumber = 9,
        TypeIntegerNumber = 10,
        TypeText = 11,
        TypeGrid = 12,
        TypeCurve = 13,
        TypeImage = 14,
        TypeFilename = 15,
        TypeFilenames = 16,
        TypeColor = 17,
        TypeInformation = 18,
        TypeTextMultipleLines = 19,
    };
    static constexpr int kTypeCount = 20;

    // The smallest an item can be in a file: nine string counts and three
    // integers. Bounds a stored item count.
    static constexpr int kMinimumStoredBytes = 48;

    // The type's text, "Unkown" for values outside the table; all texts in
    // value order for the grid's choice cell.
    static std::string typeText(std::int32_t type);
    static std::vector<std::string> typeTexts();

    // The value of an option of a states text: lines separated by a carriage
    // return (a line feed after it skipped; a lone line feed, as texts edited
    // on this platform carry, also ends a line), each "key=value". Keys are
    // compared case-insensitively up to the first "="; the value is all after
    // it. A missing key gives an empty value.
    static std::string stateOption(const std::string& states, const std::string& key);

    std::string option(const std::string& key) const { return stateOption(states, key); }
    // The grid's "Advanced" column.
    std::string advancedText() const;

    // Opaque data an editor may attach; never stored in the file, and
    // nothing attaches any yet. Empty means none.
    std::vector<std::uint8_t> advanced;
};
