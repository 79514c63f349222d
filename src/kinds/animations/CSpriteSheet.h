#pragma once

#include "media/image/CAnimatedPictureWriter.h"

#include <QSize>
#include <QString>

class CResourceHolder;

// Animations as sprite sheets: one PNG holding each bitmap the animation
// shows once, side by side in a grid, and the widely used JSON description
// of it: "frames" (an array; each frame's rectangle on the sheet and its
// duration in milliseconds), a "meta" block (the sheet's file name and
// size) and "frameTags" naming the play mode's direction. Every frame also
// keeps what only this editor uses under "quillop" (bitmap ID, delay in game
// steps, offsets), so that a sheet read back gives the same animation.
//
// Reading a sheet makes a new animation and the bitmaps it needs (a picture
// the document already holds is used as it is); the document changes only
// when the whole sheet could be read.
class CSpriteSheet {
public:
    struct Written {
        bool done = false;
        QString error;
        int frames = 0;
    };
    // `stepMs` is the document's game step, which turns delays into
    // durations. An empty `jsonPath` writes the picture alone.
    static Written write(const CResourceHolder& document, int animationRow, const QString& pngPath,
                         const QString& jsonPath, int stepMs);
    // The animation as it plays, as an animated GIF or PNG: every frame drawn
    // with its offsets on a canvas that holds them all, for its duration,
    // in the order of the play mode (a ping-pong plays back once).
    static Written writeAnimated(const CResourceHolder& document, int animationRow, const QString& path,
                                 CAnimatedPictureWriter::Format format, int stepMs);

    struct Read {
        int animationRow = -1;
        int bitmapsAdded = 0;
        int bitmapsReused = 0;
        QString error;
        bool done() const { return animationRow >= 0; }
    };
    // From a JSON description (array or object of frames).
    static Read readJson(CResourceHolder& document, const QString& pngPath, const QString& jsonPath, int stepMs);
    // From a grid of equal frames read left to right, top to bottom.
    struct Grid {
        int columns = 1;
        int rows = 1;
        int margin = 0;
        int spacing = 0;
        int delayMs = 100;
    };
    static Read readGrid(CResourceHolder& document, const QString& pngPath, const Grid& grid, int stepMs);
    // The size of each frame of a grid over a sheet of `sheet` pixels; an
    // invalid size when the margins and spacing leave no room.
    static QSize frameSize(QSize sheet, const Grid& grid);
};
