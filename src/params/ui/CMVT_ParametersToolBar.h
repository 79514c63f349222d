#pragma once

#include <QToolBar>

#include <functional>
#include <string>

// The seven actions over a parameter sheet: factory defaults, load, save,
// copy, paste, print and information. Tool windows name them "DOC ...", the
// free-standing list window "Params...". Each action carries its command
// name as object name; a press comes out of commandTriggered().
class CMVT_ParametersToolBar : public QToolBar {
    Q_OBJECT
public:
    enum class Style { ToolWindow, ParameterList };
    enum class Action { None, Factory, Load, Save, Copy, Paste, Print, Information };

    static constexpr const char* kFactoryQuestion =
        "This will reset all parameters to the factory defaults.\n\nCurrent data will be lost, are you sure ?";
    static constexpr const char* kLoadMessage = "To Do : File Open ds params";
    static constexpr const char* kSaveMessage = "To Do : File Save ds params";
    static constexpr const char* kPrintMessage = "To Do : File Print ds params";
    static constexpr const char* kNoInformation = "Sorry, there isn't any about...";

    struct Entry {
        const char* command;
        const char* caption;
        const char* help;
    };

    explicit CMVT_ParametersToolBar(Style style, QWidget* parent = nullptr);

    static const Entry* entries(Style style);
    static constexpr int kCount = 7;
    // The action a command name stands for, in either style.
    static Action actionOf(const std::string& command);

    QAction* actionFor(const std::string& command) const;

    // What the window does for each action that is its own.
    struct Handlers {
        std::function<void()> factoryReset;
        // Without these, Load and Save only say that they are to come.
        std::function<void()> load;
        std::function<void()> save;
        std::function<void()> copy;
        std::function<void()> paste;
        std::function<void()> information;
    };
    // Carries out a command: the factory reset only after a Yes, print as
    // its message. 0 for a name that is none of the
    // seven.
    static int run(const std::string& command, const Handlers& handlers);

signals:
    void commandTriggered(const QString& command);
};
