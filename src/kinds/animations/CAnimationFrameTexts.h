#pragma once

#include <string>

class CAnimationItem;
class CResourceHolder;

// The rows of the frame editor's lists and the text over its preview, built
// here so that the editor only shows them.
class CAnimationFrameTexts {
public:
    // A row of the bitmap picker: "%d - %s" with the bitmap's index and ID.
    static std::string pickerRow(const CResourceHolder& document, int bitmap);
    // A row of the frame list: frame number, delay, bitmap index, offsets and
    // the bitmap's ID, or "None / Out of Range" when the bitmap index is not
    // a row of the Bitmaps group. Empty when `frame` is not a frame.
    static std::string frameRow(const CResourceHolder& document, const CAnimationItem& animation, int frame);
    // The same row as a person reads it: "3 · walk_02 · 80 ms · offset 2, −1"
    // (frame number, bitmap ID or "no bitmap", delay in milliseconds at
    // `stepMs` per game step, offsets with a true minus sign). Empty when
    // `frame` is not a frame.
    static std::string plainFrameRow(const CResourceHolder& document, const CAnimationItem& animation, int frame,
                                     int stepMs);
    // "%s\n%d/%d\n%.2f": frame-rate text, frame index, frame count, time left.
    static std::string previewText(const std::string& frameRateText, int frameIndex, int frameCount, double remaining);
};
