#include "media/output/CSoundMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void CSoundMixer::setVoices(int count, float gain, float rateFactor)
{
    m_channels.clear();
    for (int i = 0; i < count; ++i) {
        Channel c;
        c.voice = std::make_unique<CSoundVoice>();
        c.voice->setOutputFormat(m_frames, m_bits, m_outChannels, m_rate);
        c.gain = gain;
        c.rateFactor = rateFactor;
        m_channels.push_back(std::move(c));
    }
}

int CSoundMixer::voiceRate(int rate, float factor)
{
    return static_cast<int>(std::floor(static_cast<double>(rate) * factor + 0.5));
}

int CSoundMixer::prepare(std::size_t, int framesPerBuffer, int bits, int channels, int rate, std::int64_t position)
{
    if ((bits != 8 && bits != 16) || channels < 1 || channels > 2 || framesPerBuffer <= 0 || rate <= 0)
        return 0;
    m_frames = framesPerBuffer;
    m_bits = bits;
    m_outChannels = channels;
    m_rate = rate;
    m_position = position;
    // The voices learn the format but keep their state: starting the device
    // again must not bring back sounds that have already ended.
    for (Channel& c : m_channels)
        c.voice->setOutputFormat(framesPerBuffer, bits, channels, voiceRate(rate, c.rateFactor));
    return 1;
}

int CSoundMixer::generateFloats(float* out, int frames, int rate, std::int64_t)
{
    // Each voice adds itself, scaled by its gain, straight into the sum.
    const std::size_t count = static_cast<std::size_t>(frames) * static_cast<std::size_t>(m_outChannels);
    std::fill(out, out + count, 0.0f);
    for (Channel& c : m_channels)
        c.voice->mixInto(out, frames, voiceRate(rate, c.rateFactor), c.gain);
    if (m_masterGain != 1.0f) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] *= m_masterGain;
    }
    return 1;
}

int CSoundMixer::fillBuffer(unsigned char* bytes, std::size_t size, int frames, std::int64_t position)
{
    if (frames <= 0)
        return 0;
    const std::size_t count = static_cast<std::size_t>(frames) * static_cast<std::size_t>(m_outChannels);
    if (m_mix.size() < count)
        m_mix.resize(count);
    if (!generateFloats(m_mix.data(), frames, m_rate, position))
        return 0;
    return convertToDevice(m_mix.data(), count, m_bits, bytes, size);
}

namespace {
// -1..+1; a broken sample is silence, never an undefined conversion.
float deviceRange(float v)
{
    v = v == v ? v : 0.0f;
    return std::min(std::max(v, -1.0f), 1.0f);
}
} // namespace

int CSoundMixer::convertToDevice(const float* in, std::size_t count, int bits, unsigned char* out, std::size_t size)
{
    if ((bits != 8 && bits != 16) || count * static_cast<std::size_t>(bits / 8) > size)
        return 0;
    if (bits == 8) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = static_cast<unsigned char>(static_cast<int>(deviceRange(in[i]) * 127.0f) - 128);
        return 1;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const auto s = static_cast<std::int16_t>(static_cast<int>(deviceRange(in[i]) * 32767.0f));
        std::memcpy(out + 2 * i, &s, 2);
    }
    return 1;
}
