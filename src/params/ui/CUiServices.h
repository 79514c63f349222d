#pragma once

#include "params/ui/IFileChooser.h"
#include "params/ui/IValuePrompter.h"

#include <QString>

class IPrompter;

// Where the interface's messages, questions and pickers go. By default they
// are message boxes and the toolkit's dialogs; tests install scripted ones.
class CUiServices {
public:
    static IPrompter& prompter();
    static IFileChooser& fileChooser();
    static IColorChooser& colorChooser();
    // The grid's value prompt (title, prompt text, value in and out).
    static IValuePrompter& valuePrompter();

    // nullptr puts the default back.
    static void setPrompter(IPrompter* prompter);
    static void setFileChooser(IFileChooser* chooser);
    static void setColorChooser(IColorChooser* chooser);
    static void setValuePrompter(IValuePrompter* prompter);

    // "Text (*.a;*.b)\n*.a;*.b\n...\n\n" as a toolkit filter list
    // ("Text (*.a *.b);;...").
    static QString toQtFilter(const std::string& filter);
};
