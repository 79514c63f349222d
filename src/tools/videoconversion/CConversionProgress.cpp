#include "tools/videoconversion/CConversionProgress.h"

std::string CConversionResult::reason() const
{
    switch (end) {
    case End::Done: return {};
    case End::Stopped: return "stopped by the user";
    case End::MissingFile: return file + ": no such file";
    case End::UnreadableFile: return file + ": the picture could not be read";
    case End::WriteFailed: return file + ": could not be written";
    case End::OpenFailed: return file + ": the video could not be read";
    }
    return {};
}
