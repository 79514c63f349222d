#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The plain fields at the start of a resource file, for tools that report
// on a file without loading it.
struct CResourceFileHeader {
    std::string signature;
    std::string versionBanner;
    std::string visibleComments;
    std::int32_t reserved = 0;
    std::int32_t version = 0;
    std::int32_t subVersion = 0;

    // Empty when the file cannot be opened or ends inside the header.
    static std::optional<CResourceFileHeader> read(const std::string& fileName);
};
