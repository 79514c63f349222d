#pragma once

#include <array>
#include <string>

// What the main frame knows when it greys, checks and fills its commands.
struct CCommandContext {
    bool activeChild = false;         // any MDI child, document or tool window
    bool activeDocumentView = false;  // the active child shows a resource document
    bool maintainRelationships = false;
    int currentPanel = -1;            // of the active document view
    // The active document's history: what Undo and Redo would do.
    bool canUndo = false;
    bool canRedo = false;
    std::string undoText = {};
    std::string redoText = {};
};

struct CCommandState {
    bool enabled = true;
    bool checked = false;
    bool popupStyle = false;  // a button that opens a pop-up menu
    std::string text;         // a title that says what the entry does now ("Undo Delete 3 Bitmaps")
};

// The rules that map a command name to its state, and decide which entries
// a pop-up menu keeps. Names compare exactly.
class CCommandStates {
public:
    // The panel commands in panel order ("mrc view bitmaps" shows panel 0).
    static const std::array<const char*, 10> kPanelCommands;

    // Panel index of a panel command, or -1.
    static int panelOf(const std::string& name);

    static CCommandState state(const std::string& name, const CCommandContext& context);

    // What filling a pop-up does with an entry of that name.
    enum class PopupEntry { Keep, Remove, WindowList, RecentFiles };
    static PopupEntry popupEntry(const std::string& name, const CCommandContext& context, bool recentFilesEmpty);
};
