#pragma once

#include "media/audio/CSampleBuffer.h"

#include <vector>

// Voice-like test signals: a fundamental with decaying harmonics, so that
// the period is clear but multiples of it match almost as well.
struct ToneSegment {
    double frequency = 0.0; // Hz
    double seconds = 0.0;
};

CSampleBuffer voiceLike(const std::vector<ToneSegment>& segments, double sampleRate);
// The frequency sounding at time t (seconds) of the sequence.
double frequencyAt(const std::vector<ToneSegment>& segments, double t);

class CAnalyzeFundamentalEngine;
// Bound curves three rows either side of each note's period, drawn on the
// engine's last preview the way a user would.
void drawBoundsAroundNotes(CAnalyzeFundamentalEngine& engine, const std::vector<ToneSegment>& segments);
