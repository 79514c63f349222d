#include "core/IPrompter.h"

#include <cstdio>

IPrompter::Answer CConsolePrompter::ask(const std::string& text, Buttons buttons, Icon)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
    case Buttons::YesNoDefaultNo:
        break;
    }
    return Answer::No;
}

CConsolePrompter& consolePrompter()
{
    static CConsolePrompter prompter;
    return prompter;
}
