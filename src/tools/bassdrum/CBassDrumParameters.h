#pragma once

#include <string>

// The values of the bass-drum parameter sheet, with the sheet's defaults.
// "Initial speed" and the number of deceleration levels are kept for the
// sheet but take no part in the sound.
struct CBassDrumParameters {
    int previewWidth = 1000;
    int previewHeight = 100;
    int bitsPerSample = 16;
    int sampleRate = 44100;
    std::string destination = "C:\\My Documents\\RenderedBassdrum.wav";
    double initialSpeed = 0.0;
    double deceleration = 1.0;
    int decelerationLevels = 1;
    double startFrequency = 16000.0;
    double endFrequency = 20.0;
};
