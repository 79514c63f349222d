#include "tools/videoconversion/CConversionProgress.h"

#include <filesystem>
#include <system_error>

std::string CConversionResult::reason() const
{
    switch (end) {
    case End::Done: return {};
    case End::Stopped: return "stopped by the user";
    case End::MissingFile: return file + ": no such file";
    case End::UnreadableFile: return file + ": the picture could not be read";
    case End::WriteFailed: return file + ": could not be written";
    case End::OpenFailed: return file + ": the video could not be read";
    case End::NoDestination: return kNoDestination;
    }
    return {};
}

bool CConversionResult::namesAFile(const std::string& destination)
{
    if (destination.empty() || destination.back() == '/')
        return false;
    const std::filesystem::path path(destination);
    const std::string name = path.filename().string();
    if (name == "." || name == "..")
        return false;
    std::error_code error;
    return !std::filesystem::is_directory(path, error);
}
