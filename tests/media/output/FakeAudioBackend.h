#pragma once

#include "media/output/IAudioBackend.h"

#include <algorithm>
#include <vector>

// A device that plays only when the test says so.
class FakeAudioBackend : public IAudioBackend {
public:
    bool open(int device, int rate, int channels, int bits, int framesPerBuffer) override
    {
        ++opens;
        if (refuseOpen)
            return false;
        openDevice = device;
        openFormat = {rate, channels, bits, framesPerBuffer};
        m_open = true;
        return true;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool queue(const unsigned char* bytes, std::size_t size) override
    {
        if (!m_open || refuseQueue)
            return false;
        buffers.emplace_back(bytes, bytes + size);
        queued += size;
        return true;
    }
    std::size_t queuedBytes() const override { return queued; }
    void pause() override { paused = true; }
    void resume() override { paused = false; }
    void reset() override { queued = 0; ++resets; }

    // The device plays `bytes` of what is queued.
    void play(std::size_t bytes) { queued -= std::min(bytes, queued); }

    bool refuseOpen = false;
    bool refuseQueue = false;
    bool paused = false;
    int opens = 0;
    int resets = 0;
    int openDevice = -2;
    std::vector<int> openFormat;
    std::size_t queued = 0;
    std::vector<std::vector<unsigned char>> buffers;

private:
    bool m_open = false;
};
