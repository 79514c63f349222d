#pragma once

#include <cstdint>

namespace quillop {

// The play position of a path (or of anything else played between a start
// and an end), advanced once per game step. The position P moves between the
// start B and the end E according to the play mode (see PlayModes.h); the
// direction says which way it is currently travelling.
class PlayClock {
public:
    enum Direction : std::int32_t { Backward = 0, Forward = 1 };

    int GetPlayMode() const { return m_playMode; }
    void SetPlayMode(int mode) { m_playMode = mode; }

    // Puts the position at the end the mode starts from and sets the
    // direction it starts in; the playing flag is left alone.
    void Reset();

    int GetTag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    double GetSpeed() const { return m_speed; }
    void SetSpeed(double speed) { m_speed = speed; }

    double GetStart() const { return m_start; }
    void SetStart(double start) { m_start = start; }

    double GetEnd() const { return m_end; }
    void SetEnd(double end) { m_end = end; }

    int GetDirection() const { return m_direction; }
    void SetDirection(int direction) { m_direction = direction; }

    double GetPosition() const { return m_position; }
    // Places the position inside the span: x >= 0 counts from the start,
    // x < 0 counts back from the end, both modulo the span's length.
    void SetPosition(double x);

    bool IsPlaying() const { return m_playing; }
    void Restart();
    void Stop() { m_playing = false; }
    void Play() { m_playing = true; }

    // Moves the position by step x speed. Returns 0 when the clock is not
    // playing or stopped during this step, 1 otherwise.
    int Advance(double step);

private:
    bool forward() const { return m_direction != Backward; }
    void reflectAtEnd() { m_position = m_end - (m_position - m_end); }
    void reflectAtStart() { m_position = m_start + (m_start - m_position); }
    void wrapUpToStart();
    void wrapDownToEnd();
    int stopAt(double position);

    double m_start = 0.0;
    double m_end = 1.0;
    double m_position = 0.0;
    double m_speed = 1.0;
    int m_playMode = 1;
    int m_direction = Forward;
    bool m_playing = true;
    int m_tag = 0;
};

} // namespace quillop
