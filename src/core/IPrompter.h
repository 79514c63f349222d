#pragma once

#include <string>

// Fixed-text messages and questions to the user. The model speaks only
// through this interface: the editor answers with message boxes, the command
// line prints to stderr, tests script the answers.
class IPrompter {
public:
    enum class Icon { None, Stop, Exclamation, Information, Question };
    // YesNoDefaultNo: a question whose Yes destroys something (replacing
    // a file), so that Enter answers No.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~IPrompter() = default;
    virtual Answer ask(const std::string& text, Buttons buttons, Icon icon) = 0;

    void tell(const std::string& text, Icon icon) { ask(text, Buttons::Ok, icon); }
};

// Prints every message to stderr and answers every question with No (or
// Cancel): nobody is there to agree to anything.
class CConsolePrompter : public IPrompter {
public:
    Answer ask(const std::string& text, Buttons buttons, Icon icon) override;
};

CConsolePrompter& consolePrompter();
