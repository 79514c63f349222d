#pragma once

#include "quillop/runtime/CFrameCursor.h"

#include <cstdint>

class CAnimationItem;
class CDisplayBuffer;
class CResourceGroup;
class CResourceHolder;
class QPainter;

// The runtime's frame cursor over an animation of a document, and its
// drawing. The cursor reads the animation and its frame bitmaps from the
// document every time, so edits to the animation show at the next step.
class CAnimationCursor {
public:
    CAnimationCursor() = default;

    // Takes over the other cursor's state and document.
    void copyFrom(const CAnimationCursor& other);

    // The document whose Animations and Bitmaps groups are read (not owned).
    const CResourceHolder* document() const { return m_document; }
    void setDocument(const CResourceHolder* document) { m_document = document; }
    const CResourceGroup* documentAnimations() const;

    // The current frame's bitmap with its top-left corner at (x, y) plus the
    // frame's offsets plus the bitmap's offsets, computed here; whatever the
    // animation's type. 1 when something was drawn.
    int drawWithExplicitOffsets(QPainter& painter, int x, int y) const;
    // The current frame's bitmap drawn at (x, y) plus the frame's offsets by
    // the bitmap itself, which adds its own offsets. Only animations of type
    // 1 are drawn.
    int draw(QPainter& painter, int x, int y) const;

    int animationIndex() const { return m_animationIndex; }
    int direction() const { return m_cursor.direction(); }
    double remaining() const { return m_cursor.remaining(); }
    int frameIndex() const { return m_cursor.frameIndex(); }
    // The current frame's offsets; 0 without a current frame.
    int currentOffsetX() const;
    int currentOffsetY() const;

    // Puts the cursor at a fractional frame position, wrapping around the
    // frame count in both directions. A position that is not a finite
    // number, or an animation without frames, leaves the cursor unchanged.
    void seek(double position);
    void setFrameIndex(int index) { m_cursor.setFrameIndex(index); }
    void setRemaining(double remaining) { m_cursor.setRemaining(remaining); }
    void setDirection(int forward) { m_cursor.setDirection(forward); }
    void setAnimationIndex(int index) { m_animationIndex = index; }

    // The current frame's bitmap row; -1 without an animation or when the
    // frame index is not a frame.
    int currentBitmapIndex() const;
    // The animation played, or nullptr when the index names none.
    const CAnimationItem* animation() const;

    int playing() const { return m_cursor.playing(); }
    void restart();
    void stop() { m_cursor.stop(); }
    void play() { m_cursor.play(); }
    // Back to the first frame of the play mode (the last one for the
    // backward modes) with that frame's delay; 0 when there is no frame.
    int start();
    // One game step: false once the cursor stopped (or is stopped).
    bool advance(double elapsed);
    // Moves to the next frame of the play mode; false when it stopped.
    bool step();

private:
    const CDisplayBuffer* currentBitmap() const;

    const CResourceHolder* m_document = nullptr;
    int m_animationIndex = -1;
    quillop::CFrameCursor m_cursor;
};
