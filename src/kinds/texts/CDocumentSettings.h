#pragma once

#include <string>

class CResourceHolder;
class CTextItem;

// The two document settings, kept as ordinary records of the Texts and
// Parameters group so that they travel inside the resource file: the
// password that guards opening and the delay between two game steps.
class CDocumentSettings {
public:
    static constexpr const char* kPasswordId = "settings_password";
    static constexpr const char* kStepDelayId = "settings_one_game_step_delay";
    static constexpr const char* kPasswordHelp = "Empty = no password protection";
    static constexpr const char* kStepDelayHelp =
        "Delay between each game event.\r\n20 => 1000 / 20 = 50 fps (default)\r\n8=>125 fps, 10=>100 fps";

    // The Properties sheet offers 20 ms when the setting is missing; the game
    // step timer runs at 8 ms then, and never faster than every 1 ms.
    static constexpr int kPropertiesDefaultDelay = 20;
    static constexpr int kTimerDefaultDelay = 8;
    static constexpr int kTimerMinimumDelay = 1;
    static constexpr int kPropertiesMinimumDelay = 5;
    static constexpr int kPropertiesMaximumDelay = 1000;

    explicit CDocumentSettings(CResourceHolder& holder) : m_holder(holder) {}

    // Empty when there is no password (no item, or an empty value).
    std::string password() const;
    bool isPasswordProtected() const { return !password().empty(); }
    // Exact, case-sensitive comparison of the bytes.
    bool passwordMatches(const std::string& typed) const { return typed == password(); }

    int propertiesStepDelay() const;
    int timerStepDelay() const;

    // Look the setting up and create it at the end of the group when missing;
    // its value and help text are then rewritten. 1 on success, 0 when the
    // group cannot hold texts.
    int setStepDelay(int milliseconds);
    int setPassword(const std::string& password);

    // What accepting the Properties sheet writes, in its order: the delay
    // first, then the password, so that a document without settings gains
    // them in that order.
    int apply(int stepDelay, const std::string& password);

private:
    CTextItem* findOrCreate(const char* id);

    CResourceHolder& m_holder;
};
