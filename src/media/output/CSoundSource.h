#pragma once

#include <cstddef>
#include <cstdint>

// Something that fills the buffers of the audio output: the mixer, and each
// of its voices. The output calls these in this order over a playback:
// prepare once, then fillBuffer for every buffer, end when it stops.
class CSoundSource {
public:
    virtual ~CSoundSource() = default;

    // The output format and the position (in output frames) playback starts at.
    virtual int prepare(std::size_t bytesPerBuffer, int framesPerBuffer, int bits, int channels, int rate,
                        std::int64_t position) = 0;
    virtual void pause() {}
    virtual void restart() {}
    virtual void setPosition(std::int64_t position) { m_position = position; }
    virtual std::int64_t position() const { return m_position; }
    virtual void end() {}

    // One device buffer of `frames` frames in the prepared integer format,
    // for output position `position`: 1, or 0 when it cannot be filled.
    virtual int fillBuffer(unsigned char* bytes, std::size_t size, int frames, std::int64_t position) = 0;

    // `frames` frames of interleaved floats (the prepared channel count) at
    // output rate `rate`: 1 when something was produced, 0 when the source
    // had nothing to give (and `out` is untouched).
    virtual int generateFloats(float* out, int frames, int rate, std::int64_t position) = 0;

protected:
    std::int64_t m_position = 0;
};
