#pragma once

#include <QImage>

class CSampleBuffer;

// The waveform picture of the sheet: a grey frame around black, a grey
// centre line and the sound in green, stretched over the whole width.
class CBassDrumPreview {
public:
    // Picture sizes are bounded so that a mistyped size cannot ask for an
    // absurd allocation; the sheet's own bounds are 32..2048.
    static constexpr int kMaxSide = 16384;

    static QImage draw(const CSampleBuffer& sound, int width, int height);
};
