#pragma once

#include "quillop/runtime/CResourceFileHeader.h"

#include <optional>
#include <string>

// The runtime's file header, read from a named file by tools that report on
// a file without loading it.
struct CResourceFileHeader : quillop::CResourceFileHeader {
    // Empty when the file cannot be opened or ends inside the header.
    static std::optional<CResourceFileHeader> read(const std::string& fileName);
};
