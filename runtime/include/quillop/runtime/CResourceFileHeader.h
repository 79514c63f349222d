#pragma once

#include <cstdint>
#include <string>

namespace quillop {

class CArchive;

// The plain fields at the start of a resource file, before its first coded
// stretch.
struct CResourceFileHeader {
    static constexpr const char* kSignature = "MARVOLINE_RESOURCES";

    std::string signature;
    std::string versionBanner;
    std::string visibleComments;
    std::int32_t reserved = 0;
    std::int32_t version = 0;
    std::int32_t subVersion = 0;

    // Throws CArchiveException when the file ends inside the header.
    static CResourceFileHeader read(CArchive& ar);
};

} // namespace quillop
