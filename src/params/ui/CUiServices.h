#pragma once

#include "params/ui/IFileChooser.h"
#include "params/ui/IValuePrompter.h"

#include <QIcon>
#include <QString>

#include <functional>
#include <string>

class CAudioPlayer;
class CDialogFolders;
class IPrompter;

// Where the interface's messages, questions and pickers go, and what the
// running program shares with the windows below it. By default they
// are message boxes and the toolkit's dialogs; tests install scripted ones.
class CUiServices {
public:
    static IPrompter& prompter();
    static IFileChooser& fileChooser();
    static IColorChooser& colorChooser();
    // The grid's value prompt (title, prompt text, value in and out).
    static IValuePrompter& valuePrompter();
    // Where file dialogs open, program-wide; the program keeps it in its
    // settings.
    static CDialogFolders& dialogFolders();

    // nullptr puts the default back.
    static void setPrompter(IPrompter* prompter);
    static void setFileChooser(IFileChooser* chooser);
    static void setColorChooser(IColorChooser* chooser);
    static void setValuePrompter(IValuePrompter* prompter);

    // What the running program lends its windows: the sound player (nullptr
    // without one) and the tool bar pictures of its interface file (none
    // without a program). The program sets them; tests may too.
    static CAudioPlayer* audioPlayer();
    static void setAudioPlayer(CAudioPlayer* player);
    static QIcon toolBarIcon(const std::string& id);
    static void setToolBarIcons(std::function<QIcon(const std::string&)> icons);

    // One line in the main window's status bar: what a tool just wrote,
    // why there is no sound. The program says where it goes (nowhere
    // without one); tests may listen.
    static void showStatus(const std::string& text);
    static void setStatusLine(std::function<void(const QString&)> line);
    // The title of message boxes: the program's name (by default the
    // application's).
    static QString messageTitle();
    static void setMessageTitle(const QString& title);

    // "Text (*.a;*.b)\n*.a;*.b\n...\n\n" as a toolkit filter list
    // ("Text (*.a *.b);;...").
    static QString toQtFilter(const std::string& filter);
};
