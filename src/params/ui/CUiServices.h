#pragma once

#include "params/ui/IFileChooser.h"

#include <QString>

class IPrompter;

// Where the interface's messages, questions and pickers go. By default they
// are message boxes and the toolkit's dialogs; tests install scripted ones.
class CUiServices {
public:
    static IPrompter& prompter();
    static IFileChooser& fileChooser();
    static IColorChooser& colorChooser();

    // nullptr puts the default back.
    static void setPrompter(IPrompter* prompter);
    static void setFileChooser(IFileChooser* chooser);
    static void setColorChooser(IColorChooser* chooser);

    // "Text (*.a;*.b)\n*.a;*.b\n...\n\n" as a toolkit filter list
    // ("Text (*.a *.b);;...").
    static QString toQtFilter(const std::string& filter);
};
