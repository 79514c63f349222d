#pragma once

#include <cstddef>
#include <string>

// The sound device as the output sees it: PCM buffers handed over in order
// and played at the device's pace. Implemented on SDL for the program and
// by hand in the tests.
class IAudioBackend {
public:
    virtual ~IAudioBackend() = default;

    // Device -1 is the system's default output.
    virtual bool open(int device, int rate, int channels, int bits, int framesPerBuffer) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Copies the bytes into the device's queue.
    virtual bool queue(const unsigned char* bytes, std::size_t size) = 0;
    // Bytes handed over and not yet played.
    virtual std::size_t queuedBytes() const = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Drops everything not yet played.
    virtual void reset() = 0;
    // Why the last open failed, in the system's words; "" when it said nothing.
    virtual std::string lastError() const { return {}; }
};
