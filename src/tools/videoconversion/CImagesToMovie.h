#pragma once

#include "tools/videoconversion/CConversionProgress.h"

#include <string>
#include <vector>

class CMovieWriter;

// Makes a movie of a list of pictures: each is drawn over black, scaled to
// fill the whole frame (the aspect ratio is not kept). The run stops at the
// first missing or unreadable file; the movie keeps the frames before it.
class CImagesToMovie {
public:
    static constexpr const char* kStatusFormat = "Adding video frame: %d / %d\n";

    struct Settings {
        int framesPerSecond = 25;
        int width = 720;
        int height = 576;
    };

    // The writer brings its compression (or the chooser that asks for it)
    // and its prompter.
    CConversionResult run(const std::vector<std::string>& sources, const std::string& destination,
                          const Settings& settings, CMovieWriter& writer,
                          const CConversionProgress& progress = {}) const;
};
