#pragma once

namespace quillop {

// What a cursor needs to know of the animation it plays.
class IAnimationFrames {
public:
    virtual ~IAnimationFrames() = default;
    virtual int frameCount() const = 0;
    // One of the eight play modes; a file may hold any other value, which
    // keeps the frame where it is.
    virtual int playMode() const = 0;
    // The stored delay of frame i (0 <= i < frameCount()), in game steps.
    virtual int frameDelay(int i) const = 0;
};

// Where one place that plays an animation stands in it: the frame shown, the
// time it has left, the direction of travel and whether it plays. The
// animation is passed to every call (nullptr for none), so that edits to it
// show at the next step.
//
// Delays: a frame whose stored delay is 0 or below counts as one game step
// wherever a delay is added to the time left. Such delays only come from
// files (the editor keeps them at 1 or above); counting them as 1 keeps every
// advance finite, in the looping modes too.
class CFrameCursor {
public:
    int direction() const { return m_forward; }
    double remaining() const { return m_remaining; }
    int frameIndex() const { return m_frameIndex; }
    int playing() const { return m_playing; }

    void setFrameIndex(int index) { m_frameIndex = index; }
    void setRemaining(double remaining) { m_remaining = remaining; }
    void setDirection(int forward) { m_forward = forward ? 1 : 0; }
    void stop() { m_playing = 0; }
    void play() { m_playing = 1; }

    // Puts the cursor at a fractional frame position, wrapping around the
    // frame count in both directions. A position that is not a finite
    // number, or an animation without frames, leaves the cursor unchanged.
    void seek(const IAnimationFrames* animation, double position);
    void restart(const IAnimationFrames* animation);
    // Back to the first frame of the play mode (the last one for the
    // backward modes) with that frame's delay; 0 when there is no frame.
    int start(const IAnimationFrames* animation);
    // One game step: false once the cursor stopped (or is stopped).
    bool advance(const IAnimationFrames* animation, double elapsed);
    // Moves to the next frame of the play mode; false when it stopped.
    bool step(const IAnimationFrames* animation);

private:
    void stopAt(int frame);

    int m_playing = 0;
    double m_remaining = 0.0;
    int m_frameIndex = 0;
    int m_forward = 1;
};

} // namespace quillop
