#pragma once

#include "document/IDocumentDialogs.h"

// The toolkit's file dialogs and a masked password prompt.
class CDocumentDialogs : public IDocumentDialogs {
public:
    static constexpr const char* kOpenTitle = "Load Game Resources";
    static constexpr const char* kSaveTitle = "Save Game Resources";
    static constexpr const char* kResourceFilter = "Marvoline Game Resources Files (*.mrc)";
    static constexpr const char* kAllFilter = "All Files (*.*)";
    static constexpr const char* kPasswordTitle = "Password Protection";
    static constexpr const char* kPasswordLabel = "Password:";
    // Open and Save As share one remembered folder.
    static constexpr const char* kFoldersKey = "Game Resources";

    // The dialogs in use: the toolkit's unless a test installed its own.
    static IDocumentDialogs& current();
    static void install(IDocumentDialogs* dialogs);  // nullptr restores

    // ".mrc" is added when the resource filter was chosen and the name has
    // no extension of its own.
    static std::string withDefaultExtension(const std::string& name, int filterIndex);

    FileChoice chooseOpenFile(QWidget* parent, const std::string& startName, int filterIndex) override;
    FileChoice chooseSaveFile(QWidget* parent, const std::string& startName, int filterIndex) override;
    bool askPassword(QWidget* parent, std::string& typed) override;

private:
    FileChoice choose(QWidget* parent, bool save, const std::string& startName, int filterIndex);
};
