#include "quillop/runtime/CFrameCursor.h"

#include "quillop/runtime/PlayModes.h"

#include <cmath>

namespace quillop {

namespace {
// Game steps a frame stays: stored delays below 1 count as 1 so that the
// advance loop always gains time.
double shownSteps(const IAnimationFrames& animation, int frame)
{
    const int delay = animation.frameDelay(frame);
    return delay > 0 ? double(delay) : 1.0;
}

int countOf(const IAnimationFrames* animation) { return animation ? animation->frameCount() : 0; }
} // namespace

void CFrameCursor::seek(const IAnimationFrames* animation, double position)
{
    const int n = countOf(animation);
    if (n <= 0 || !std::isfinite(position))
        return;
    double p = position >= 0 ? std::fmod(position, n) : n - std::fmod(-position, n);
    // A negative whole number of turns lands on n itself, one past the last
    // frame: that is frame 0 again.
    if (p >= n)
        p -= n;
    const double whole = std::floor(p);
    m_frameIndex = static_cast<int>(whole);
    m_remaining = shownSteps(*animation, m_frameIndex) * (p - whole);
}

void CFrameCursor::restart(const IAnimationFrames* animation)
{
    stop();
    start(animation);
    play();
}

int CFrameCursor::start(const IAnimationFrames* animation)
{
    const int n = countOf(animation);
    if (n <= 0) {
        m_remaining = 0.0;
        m_frameIndex = 0;
        m_forward = 1;
        return 0;
    }
    const int mode = animation->playMode();
    const bool backward = mode >= PlayBackwardOnce && mode <= PlayBackwardForwardLoop;
    m_forward = backward ? 0 : 1;
    m_frameIndex = backward ? n - 1 : 0;
    m_remaining = shownSteps(*animation, m_frameIndex);
    return 1;
}

bool CFrameCursor::advance(const IAnimationFrames* animation, double elapsed)
{
    if (!m_playing)
        return false;
    // Every step adds a finite delay; a time left that is not a finite
    // number would never become positive again.
    if (!std::isfinite(m_remaining))
        m_remaining = 0.0;
    while (!(m_remaining * 1e11 > 0)) {
        if (!step(animation))
            return false;
    }
    // Time that is not a finite number cannot be played through; it is taken
    // as no time at all rather than poisoning the time left.
    if (std::isfinite(elapsed))
        m_remaining -= elapsed;
    return true;
}

void CFrameCursor::stopAt(int frame)
{
    m_frameIndex = frame;
    m_playing = 0;
}

bool CFrameCursor::step(const IAnimationFrames* animation)
{
    const int n = countOf(animation);
    if (n <= 1) {
        start(animation);
        stop();
        return false;
    }
    const int mode = animation->playMode();
    int i = m_frameIndex;
    if (mode < 0 || mode >= kPlayModeCount) {
        // No order to follow: the frame stays.
    } else if (m_forward) {
        if (i < n - 1) {
            ++i;
        } else {
            switch (mode) {
            case PlayForwardOnce:
            case PlayBackwardOnce:
            case PlayBackwardForwardOnce:
                stopAt(n - 1);
                return false;
            case PlayForwardLoop:
                i = 0;
                break;
            case PlayForwardBackwardOnce:
            case PlayForwardBackwardLoop:
            case PlayBackwardForwardLoop:
                m_forward = 0;
                i = n - 2;
                break;
            case PlayBackwardLoop:
                m_forward = 0;
                i = n - 1;
                break;
            }
        }
    } else {
        if (i > 0) {
            --i;
        } else {
            switch (mode) {
            case PlayForwardOnce:
            case PlayBackwardOnce:
            case PlayForwardBackwardOnce:
                stopAt(0);
                return false;
            case PlayForwardLoop:
                m_forward = 1;
                i = 0;
                break;
            case PlayForwardBackwardLoop:
            case PlayBackwardForwardLoop:
            case PlayBackwardForwardOnce:
                m_forward = 1;
                i = 1;
                break;
            case PlayBackwardLoop:
                i = n - 1;
                break;
            }
        }
    }
    m_frameIndex = i;
    // A frame index set from outside may lie beyond a list that has since
    // shrunk, or below 0; walking back into the list takes one game step per
    // frame, so that the walk cannot spin without time passing.
    m_remaining += i >= 0 && i < n ? shownSteps(*animation, i) : 1.0;
    return true;
}

} // namespace quillop
