#pragma once

#include <string>

class QWidget;

// Asks the user for one value as text: a titled window with a prompt, the
// editable text and the value it had before. Behind this seam so that
// commands needing a number can be driven by tests without a modal dialog.
class IValuePrompter {
public:
    virtual ~IValuePrompter() = default;
    // True on OK with the edited text in `value`; false on Cancel, `value`
    // left as it was.
    virtual bool promptValue(QWidget* parent, const std::string& title, const std::string& prompt, std::string& value,
                             bool multiLine) = 0;
};
