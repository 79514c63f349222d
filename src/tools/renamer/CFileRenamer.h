#pragma once

#include <string>
#include <vector>

// Renames a list of files by one rule: a find/replace on their names (plain
// text or a regular expression with \1 style captures), or a numbering
// pattern where a run of '#' is the number with that many digits at least
// and '*' the old name without extension (the extension is kept). Only the
// file names change, never their folders.
//
// preview() shows every old and new name and what is wrong with it; apply()
// refuses the whole list when anything is wrong, and never replaces a file:
// two names swapped in one list go through temporary names.
class CFileRenamer {
public:
    struct Rule {
        enum class Mode { Replace, Numbering };
        Mode mode = Mode::Replace;
        std::string find;
        std::string replace;
        bool regularExpression = false;
        bool caseSensitive = true;
        std::string pattern = "*_###";
        int start = 1;
        int step = 1;
    };
    struct Entry {
        enum class Status { Unchanged, Renamed, Collision, Invalid };
        std::string source;
        std::string target;
        Status status = Status::Unchanged;
        std::string why; // for a collision or an invalid name
    };

    static std::vector<Entry> preview(const std::vector<std::string>& paths, const Rule& rule);
    static bool acceptable(const std::vector<Entry>& entries);
    // Renames the entries marked Renamed. Answers the files renamed; on a
    // refusal or a failure 0 or the count so far, with the reason in *error.
    // A failure halfway puts back the files already moved.
    static int apply(const std::vector<Entry>& entries, std::string* error = nullptr);
};
