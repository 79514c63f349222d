#include "quillop/runtime/PlayClock.h"

#include "quillop/runtime/PlayModes.h"

#include <cmath>

namespace quillop {

void PlayClock::Reset()
{
    if (m_playMode >= PlayBackwardOnce && m_playMode <= PlayBackwardForwardLoop) {
        m_position = m_end;
        m_direction = Backward;
    } else {
        m_position = m_start;
        m_direction = Forward;
    }
}

void PlayClock::SetPosition(double x)
{
    const double span = m_end - m_start;
    // An empty span (a path of one point, or none) has only one place to be;
    // the remainder by zero would otherwise leave a NaN position behind.
    if (span == 0.0 || !std::isfinite(span) || !std::isfinite(x)) {
        m_position = m_start;
        return;
    }
    if (x >= 0)
        m_position = m_start + std::fmod(x, span);
    else
        m_position = m_end - std::fmod(-x, span);
}

void PlayClock::Restart()
{
    Stop();
    Reset();
    Play();
}

// "While P < B: P += E - B", done in one remainder so that a long step or
// a span of zero cannot keep the game step busy.
void PlayClock::wrapUpToStart()
{
    if (!(m_position < m_start))
        return;
    const double span = m_end - m_start;
    if (!(span > 0.0) || !std::isfinite(span)) {
        m_position = m_start;
        return;
    }
    const double r = std::fmod(m_start - m_position, span);
    m_position = r == 0.0 ? m_start : m_start + span - r;
}

// "While P > E: P -= E - B", likewise.
void PlayClock::wrapDownToEnd()
{
    if (!(m_position > m_end))
        return;
    const double span = m_end - m_start;
    if (!(span > 0.0) || !std::isfinite(span)) {
        m_position = m_end;
        return;
    }
    const double r = std::fmod(m_position - m_end, span);
    m_position = r == 0.0 ? m_end : m_end - span + r;
}

int PlayClock::stopAt(double position)
{
    m_position = position;
    m_playing = false;
    return 0;
}

int PlayClock::Advance(double step)
{
    if (!m_playing)
        return 0;
    if (m_playMode < 0 || m_playMode >= kPlayModeCount)
        return 1;
    const double d = step * m_speed;
    // A NaN or infinite move would leave the position unusable for good.
    if (!std::isfinite(d))
        return 1;

    double& p = m_position;
    const double b = m_start;
    const double e = m_end;

    switch (m_playMode) {
    case PlayForwardOnce:
    case PlayBackwardOnce:
        if (forward()) {
            p += d;
            if (d >= 0) {
                if (p > e)
                    return stopAt(e);
            } else if (p < b) {
                p = b;
            }
        } else {
            p -= d;
            if (d >= 0) {
                if (p < b)
                    return stopAt(b);
            } else if (p > e) {
                p = e;
            }
        }
        return 1;

    case PlayForwardLoop:
        if (forward()) {
            p += d;
            if (p > e)
                p = b + (p - e);
        } else {
            p -= d;
            if (p < b) {
                p = b;
                m_direction = Forward;
            }
        }
        if (d < 0)
            wrapUpToStart();
        return 1;

    case PlayBackwardLoop:
        if (forward()) {
            p += d;
            if (p > e) {
                m_direction = Backward;
                reflectAtEnd();
            }
        } else {
            p -= d;
            if (p < b)
                p = e - (b - p);
        }
        if (d < 0)
            wrapDownToEnd();
        return 1;

    case PlayForwardBackwardOnce:
        if (forward()) {
            p += d;
            if (d >= 0) {
                if (p > e) {
                    m_direction = Backward;
                    reflectAtEnd();
                }
            } else if (p < b) {
                p = b;
            }
        } else {
            p -= d;
            if (d >= 0) {
                if (p < b)
                    return stopAt(b);
            } else if (p > e) {
                m_direction = Forward;
                reflectAtEnd();
            }
        }
        return 1;

    case PlayForwardBackwardLoop:
    case PlayBackwardForwardLoop:
        if (forward()) {
            p += d;
            if (d >= 0) {
                if (p > e) {
                    m_direction = Backward;
                    reflectAtEnd();
                }
            } else if (p < b) {
                m_direction = Backward;
                reflectAtStart();
            }
        } else {
            p -= d;
            if (d >= 0) {
                if (p < b) {
                    m_direction = Forward;
                    reflectAtStart();
                }
            } else if (p > e) {
                m_direction = Forward;
                reflectAtEnd();
            }
        }
        return 1;

    case PlayBackwardForwardOnce:
        if (forward()) {
            p += d;
            if (d >= 0) {
                if (p > e)
                    return stopAt(e);
            } else if (p < b) {
                m_direction = Backward;
                reflectAtStart();
            }
        } else {
            p -= d;
            if (d >= 0) {
                if (p < b) {
                    m_direction = Forward;
                    reflectAtStart();
                }
            } else if (p > e) {
                p = e;
            }
        }
        return 1;

    default:
        return 1;
    }
}

} // namespace quillop
