#pragma once

// The clipping every pixel-buffer blit applies before touching a pixel.
// A source rectangle (sx, sy, w, h) goes to the destination point (dx, dy).
struct CBlitClip {
    int sx = 0, sy = 0, w = 0, h = 0, dx = 0, dy = 0;

    // Cuts the rectangle to both buffers: a negative source start shortens the
    // rectangle, a negative destination start also moves the source start.
    // False when nothing is left to draw.
    bool clip(int srcWidth, int srcHeight, int dstWidth, int dstHeight);
};
