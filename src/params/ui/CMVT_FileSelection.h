#pragma once

#include <cstddef>
#include <string>
#include <vector>

class QWidget;

// Choosing files for the file-name items and the sound insertion: one file,
// several files within the name buffer, and folders expanded into the files
// they hold.
class CMVT_FileSelection {
public:
    static constexpr const char* kPleaseSelect = "Please Select a Filename";
    static constexpr const char* kTooManyFiles =
        "Sorry, too many files were selected.\n\nPlease try again and select less files.";
    // A selection of several files is handed over as the folder followed by
    // each name, every one closed by a NUL and the list by one more; it has
    // to fit this many characters.
    static constexpr std::size_t kNameBufferSize = 104000;
    // The longest path a file-name field takes.
    static constexpr int kMaxPathLength = 4095;

    // One file; "" when cancelled or when the name is longer than a path may
    // be. Starts at the current path, or at the current folder with a
    // placeholder name when there is none.
    static std::string selectOne(QWidget* parent, const std::string& filter, const std::string& title,
                                 const std::string& current, bool save);
    // Several files (full paths); empty when cancelled, and also after the
    // "too many files" message when they would not fit the name buffer.
    static std::vector<std::string> selectMany(QWidget* parent, const std::string& filter, const std::string& title);

    // Whether the names, as the folder plus file names, fit the buffer.
    static bool fitsNameBuffer(const std::vector<std::string>& paths);

    // Every folder replaced by all the files under it, at any depth, in name
    // order; files stay as they are.
    static std::vector<std::string> expandFolders(const std::vector<std::string>& paths);
    static bool isFolder(const std::string& path);
};
