#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

// The file, folder and colour pickers behind one seam, so that sheets can be
// driven by tests without a modal dialog.
class IFileChooser {
public:
    struct Request {
        std::string title;
        // "Description\npattern\n...\n\n" form.
        std::string filter;
        // The name the dialog starts with (a path, or a folder followed by a
        // placeholder name).
        std::string startName;
        bool save = false;
        bool multiple = false;
    };

    virtual ~IFileChooser() = default;
    // Full paths of the chosen files; empty when the user cancelled.
    virtual std::vector<std::string> chooseFiles(QWidget* parent, const Request& request) = 0;
    // A folder, or "" when cancelled.
    virtual std::string chooseFolder(QWidget* parent, const std::string& title, const std::string& start) = 0;
};

class IColorChooser {
public:
    virtual ~IColorChooser() = default;
    // The full colour chooser, starting at rgb (0x00BBGGRR); true and the new
    // colour in rgb on OK.
    virtual bool chooseColor(QWidget* parent, std::uint32_t& rgb) = 0;
};
