#pragma once

#include <functional>
#include <string>
#include <vector>

// Rewrites resource files of earlier versions with the current writer, each
// beside its source as "<name>-NEW-.mrc"; the sources are never touched.
// A "-NEW-" file that already exists is replaced only when the caller
// agrees (the editor asks, the command line refuses), never silently.
class CResourceFilesManager {
public:
    static constexpr const char* kNewSuffix = "-NEW-";

    enum class Outcome { Converted, NotResourceFile, LoadFailed, TargetExists, WriteFailed };
    struct FileOutcome {
        std::string source;
        std::string target;
        Outcome outcome = Outcome::NotResourceFile;
        std::string reason; // the loader's message when the load failed
    };
    // Asked with the target's name when it exists already: true replaces it.
    using ReplaceQuestion = std::function<bool(const std::string& target)>;

    // Exists, ends in ".mrc" (any case), and starts with the signature.
    static bool isResourceFile(const std::string& path);
    // "dir/old.mrc" gives "dir/old-NEW-.mrc".
    static std::string newName(const std::string& path);
    // The entries that are resource files, in their order.
    static std::vector<std::string> filter(const std::vector<std::string>& paths);

    // Loads one file and writes it under its new name. Files of an older
    // format version are accepted without asking: converting them is the
    // point. A load that reports any problem writes nothing, so a partly
    // read document never passes for a converted one.
    static FileOutcome convert(const std::string& path, const ReplaceQuestion& replace = {});
    // Every file of the list, last to first, on up to `workers` threads;
    // `done` is called (from the worker) after each file. The outcomes come
    // in list order.
    static std::vector<FileOutcome> convertAll(const std::vector<std::string>& paths, int workers,
                                               const ReplaceQuestion& replace = {},
                                               const std::function<void(const FileOutcome&)>& done = {});

    // "converted", "not a resource file", ...
    static std::string outcomeText(const FileOutcome& outcome);
};
