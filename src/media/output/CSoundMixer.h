#pragma once

#include "media/output/CSoundSource.h"
#include "media/output/CSoundVoice.h"

#include <memory>
#include <vector>

// Adds its voices, each scaled by its own gain and played at the output rate
// times its rate factor, scales the sum by the master gain and converts it
// to the device's integer format. Device-independent: it only fills buffers.
class CSoundMixer : public CSoundSource {
public:
    struct Channel {
        std::unique_ptr<CSoundVoice> voice;
        float gain = 1.0f;
        float rateFactor = 1.0f;
    };

    // Replaces the voices with `count` new ones.
    void setVoices(int count, float gain, float rateFactor);
    int voiceCount() const { return static_cast<int>(m_channels.size()); }
    CSoundVoice& voice(int i) { return *m_channels[static_cast<std::size_t>(i)].voice; }
    const CSoundVoice& voice(int i) const { return *m_channels[static_cast<std::size_t>(i)].voice; }
    Channel& channel(int i) { return m_channels[static_cast<std::size_t>(i)]; }

    float masterGain() const { return m_masterGain; }
    void setMasterGain(float gain) { m_masterGain = gain; }

    int framesPerBuffer() const { return m_frames; }
    int bits() const { return m_bits; }
    int channels() const { return m_outChannels; }
    int rate() const { return m_rate; }

    // Fails for formats the conversion does not know (8 or 16 bits, 1 or 2 channels).
    int prepare(std::size_t bytesPerBuffer, int framesPerBuffer, int bits, int channels, int rate,
                std::int64_t position) override;
    int fillBuffer(unsigned char* bytes, std::size_t size, int frames, std::int64_t position) override;
    // Always produces: silence when no voice has anything.
    int generateFloats(float* out, int frames, int rate, std::int64_t position) override;

    // Clamps each float to -1..+1 and stores it as the device wants it:
    // 8 bits unsigned with silence at 0x80, 16 bits signed little-endian.
    // 0 for other depths or when `size` cannot hold the samples.
    static int convertToDevice(const float* in, std::size_t count, int bits, unsigned char* out, std::size_t size);

    // The rate a voice plays at: output rate times factor, halves rounded up.
    static int voiceRate(int rate, float factor);

private:
    std::vector<Channel> m_channels;
    std::vector<float> m_mix;
    float m_masterGain = 1.0f;
    int m_frames = 0;
    int m_bits = 16;
    int m_outChannels = 2;
    int m_rate = 44100;
};
