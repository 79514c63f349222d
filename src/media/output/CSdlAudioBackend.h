#pragma once

#include "media/output/IAudioBackend.h"

#include <cstdint>
#include <string>
#include <vector>

// The sound device through SDL's audio queue: buffers are pushed from the
// owner's thread, and SDL's own thread only drains the queue, so no callback
// ever reaches into the mixer. With SDL_AUDIODRIVER=dummy it plays into
// nothing at real-time pace.
class CSdlAudioBackend : public IAudioBackend {
public:
    ~CSdlAudioBackend() override;

    bool open(int device, int rate, int channels, int bits, int framesPerBuffer) override;
    void close() override;
    bool isOpen() const override { return m_device != 0; }
    std::string lastError() const override { return m_error; }
    bool queue(const unsigned char* bytes, std::size_t size) override;
    std::size_t queuedBytes() const override;
    void pause() override;
    void resume() override;
    void reset() override;

    // The names of the output devices, in SDL's index order (index = device id).
    static std::vector<std::string> outputDeviceNames();

private:
    std::uint32_t m_device = 0;
    bool m_subsystem = false;
    std::string m_error;
};
