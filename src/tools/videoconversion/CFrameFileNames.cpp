#include "tools/videoconversion/CFrameFileNames.h"

#include <cstdio>

std::string CFrameFileNames::picture(const std::string& destination, int frame)
{
    return numbered(destination, "_", frame);
}

std::string CFrameFileNames::alpha(const std::string& destination, int frame)
{
    return numbered(destination, "_ALPHA", frame);
}

std::string CFrameFileNames::numbered(const std::string& destination, const char* tag, int frame)
{
    char number[32];
    std::snprintf(number, sizeof number, "%s%06d", tag, frame);
    // The extension is what follows the last dot of the file name itself; a
    // dot in a folder name or a leading dot (".hidden") does not start one.
    const std::size_t slash = destination.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = destination.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart)
        return destination + number;
    return destination.substr(0, dot) + number + destination.substr(dot);
}
