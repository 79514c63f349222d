#pragma once

#include <string>

class QWidget;

// The questions a resource document asks through dialogs, behind one seam
// so that tests answer them without a window.
class IDocumentDialogs {
public:
    struct FileChoice {
        bool accepted = false;
        std::string name;
        int filterIndex = 1;  // 1: resource files, 2: all files
    };

    virtual ~IDocumentDialogs() = default;
    // An existing file to open ("Load Game Resources").
    virtual FileChoice chooseOpenFile(QWidget* parent, const std::string& startName, int filterIndex) = 0;
    // A name to save under ("Save Game Resources"); an existing file is
    // confirmed before it is chosen.
    virtual FileChoice chooseSaveFile(QWidget* parent, const std::string& startName, int filterIndex) = 0;
    // The password of a protected file; false when cancelled.
    virtual bool askPassword(QWidget* parent, std::string& typed) = 0;
};
