#pragma once

#include <cstdint>
#include <string>

// The values of the "Analyze Fundamental" sheet, with its defaults.
struct CAnalysisSettings {
    std::string inputPath;
    std::int64_t preSmooth = 5;       // forward moving average before the preview
    std::int64_t preRate = 6000;      // Hz the preview works at
    std::int64_t previewWidth = 640;  // columns asked for
    std::int64_t previewHeight = 200; // also the largest lag of the preview
    std::int64_t margins = 3;         // rows kept on each side by the optimisation
    std::int64_t extraRange = 50;     // added to the preview's window
    std::int64_t analysisRate = 44100;
    std::string outputPath;

    // Every value brought within the sheet's bounds.
    CAnalysisSettings clamped() const;
};
