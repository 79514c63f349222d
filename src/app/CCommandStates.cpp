#include "app/CCommandStates.h"

const std::array<const char*, 10> CCommandStates::kPanelCommands = {
    "mrc view bitmaps", "mrc view animations", "mrc view maps",   "mrc view texts", "mrc view sounds",
    "mrc view trajectories", "mrc view files", "mrc view colors", "mrc view ui",    "mrc view worlds",
};

namespace {
bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }
} // namespace

int CCommandStates::panelOf(const std::string& name)
{
    for (std::size_t i = 0; i < kPanelCommands.size(); ++i)
        if (name == kPanelCommands[i])
            return static_cast<int>(i);
    return -1;
}

CCommandState CCommandStates::state(const std::string& name, const CCommandContext& context)
{
    CCommandState s;
    if (name == "save" || startsWith(name, "wnd "))
        s.enabled = context.activeChild;
    if (name == "wnd list popup")
        s.popupStyle = true;
    if (name == "maintain relationships") {
        s.enabled = context.activeDocumentView;
        s.checked = context.activeDocumentView && context.maintainRelationships;
    }
    if (name == "check integrity" || name == "edit history")
        s.enabled = context.activeDocumentView;
    if (name == "edit undo") {
        s.enabled = context.activeDocumentView && context.canUndo;
        s.text = s.enabled && !context.undoText.empty() ? "Undo " + context.undoText : "Undo";
    }
    if (name == "edit redo") {
        s.enabled = context.activeDocumentView && context.canRedo;
        s.text = s.enabled && !context.redoText.empty() ? "Redo " + context.redoText : "Redo";
    }
    if (startsWith(name, "mrc ")) {
        s.enabled = context.activeDocumentView;
        const int panel = panelOf(name);
        s.checked = context.activeDocumentView && panel >= 0 && panel == context.currentPanel;
    }
    return s;
}

CCommandStates::PopupEntry CCommandStates::popupEntry(const std::string& name, const CCommandContext& context,
                                                      bool recentFilesEmpty)
{
    if ((name == "close" || name == "menu wnds") && !context.activeChild)
        return PopupEntry::Remove;
    if ((name == "project properties" || name == "save" || name == "save as" || name == "print"
         || name == "print preview")
        && !context.activeDocumentView)
        return PopupEntry::Remove;
    if (name == "wnd list" && context.activeChild)
        return PopupEntry::WindowList;
    if (name == "mru files list" && !recentFilesEmpty)
        return PopupEntry::RecentFiles;
    return PopupEntry::Keep;
}
