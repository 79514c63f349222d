#pragma once

#include <string>
#include <vector>

class CResourceHolder;

// Inserting files from disk into the Binary Files group: each file becomes a
// new record at the end of the group, named after the file.
class CBinaryFileImport {
public:
    // The file's title: the part after the last "/" or "\", cut before its
    // last dot. A name whose only dot leads it (".profile") keeps the whole
    // name, so that the record does not end up without an ID.
    static std::string fileTitle(const std::string& path);

    // Inserts the files in the given order; a file that cannot be read
    // leaves no record behind. Returns the index of the last record
    // inserted (the row to make current), or -1 when none was.
    static int insertFiles(CResourceHolder& holder, const std::vector<std::string>& paths);
};
