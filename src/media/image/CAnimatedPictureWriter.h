#pragma once

#include <QImage>
#include <QString>

#include <vector>

// Writes pictures of one size, each shown for its own time, as an animated
// GIF or an animated PNG (APNG) that plays in a loop, through FFmpeg. A GIF
// holds 256 colours a frame: each frame gets its own palette (dithered only
// past 255 colours), pixels that are mostly transparent become its
// transparent colour, and its times are in hundredths of a second.
class CAnimatedPictureWriter {
public:
    enum class Format { Gif, Apng };
    struct Frame {
        QImage picture;
        int durationMs = 100;
    };
    // An empty text when written; otherwise why not, and no file is left.
    static QString write(const QString& path, Format format, const std::vector<Frame>& frames);
};
