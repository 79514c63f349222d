#include "media/output/CSdlAudioBackend.h"

#include <SDL.h>

#include <string>

namespace {
// SDL's own device period: a power of two near the buffer length, so that
// the device drains the queue in steps no coarser than our buffers.
Uint16 devicePeriod(int framesPerBuffer)
{
    Uint16 samples = 256;
    while (samples < 8192 && samples * 2 <= framesPerBuffer)
        samples = static_cast<Uint16>(samples * 2);
    return samples;
}
} // namespace

CSdlAudioBackend::~CSdlAudioBackend() { close(); }

bool CSdlAudioBackend::open(int device, int rate, int channels, int bits, int framesPerBuffer)
{
    close();
    m_error.clear();
    if (bits != 8 && bits != 16) {
        m_error = "only 8 and 16 bits per sample are played";
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        m_error = SDL_GetError();
        return false;
    }
    m_subsystem = true;
    const char* name = nullptr;
    if (device >= 0) {
        name = SDL_GetAudioDeviceName(device, 0);
        if (!name) {
            m_error = "output device " + std::to_string(device) + " is not there any more";
            close();
            return false;
        }
    }
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(channels);
    want.samples = devicePeriod(framesPerBuffer);
    want.callback = nullptr;  // queue mode
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    m_device = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
    if (m_device == 0) {
        m_error = SDL_GetError();
        close();
        return false;
    }
    return true;
}

void CSdlAudioBackend::close()
{
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_subsystem = false;
    }
}

bool CSdlAudioBackend::queue(const unsigned char* bytes, std::size_t size)
{
    return m_device != 0 && SDL_QueueAudio(m_device, bytes, static_cast<Uint32>(size)) == 0;
}

std::size_t CSdlAudioBackend::queuedBytes() const
{
    return m_device != 0 ? SDL_GetQueuedAudioSize(m_device) : 0;
}

void CSdlAudioBackend::pause()
{
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 1);
}

void CSdlAudioBackend::resume()
{
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 0);
}

void CSdlAudioBackend::reset()
{
    if (m_device != 0)
        SDL_ClearQueuedAudio(m_device);
}

std::vector<std::string> CSdlAudioBackend::outputDeviceNames()
{
    std::vector<std::string> names;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return names;
    const int count = SDL_GetNumAudioDevices(0);
    for (int i = 0; i < count; ++i) {
        const char* name = SDL_GetAudioDeviceName(i, 0);
        names.emplace_back(name ? name : "");
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return names;
}
