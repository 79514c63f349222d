#pragma once

#include "tools/videoconversion/CConversionProgress.h"

#include <string>

// Writes every frame of a video as a numbered picture beside the
// destination name (see CFrameFileNames), and its alpha channel as a
// greyscale picture when asked. A destination ending in ".png" gives PNG
// files, any other BMP files (24-bit colour, 8-bit grey alpha).
class CMovieToImages {
public:
    static constexpr const char* kStatusFormat = "Extracting video frame: %d / %d\n";

    CConversionResult run(const std::string& source, const std::string& destination, bool alpha,
                          const CConversionProgress& progress = {}) const;
};
