#include "media/output/CSoundVoice.h"

#include "media/audio/COggVorbisDecoder.h"
#include "media/output/CSoundMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr float kScale8 = 0.007874016f;      // 1/127
constexpr float kScale16 = 0.00003051851f;   // 1/32767
constexpr int kDecodeFrames = 1024;
} // namespace

CSoundVoice::CSoundVoice() = default;
CSoundVoice::~CSoundVoice() = default;

void CSoundVoice::setItem(const IVoiceSource* item)
{
    m_playing = false;
    m_decoder.reset();
    m_decoded.clear();
    m_decodedNext = m_decodedEnd = 0;
    m_item = item;
    m_data = QByteArray();
    m_frames = 0;
    m_framePosition = 0.0;
    if (!item)
        return;
    VoiceSound sound = item->voiceSound();
    m_isOgg = sound.isOgg;
    m_data = std::move(sound.data);
    m_rate = sound.rate;
    if (!m_isOgg) {
        m_bits = sound.bits;
        m_channels = sound.channels;
        m_frames = sound.frames;
        // The item keeps its bytes a whole number of frames; this guards the
        // voice against ever reading past them all the same.
        const std::int64_t perFrame = static_cast<std::int64_t>(std::max(m_channels, 0)) * (std::max(m_bits, 0) / 8);
        if (perFrame <= 0 || m_frames * perFrame > m_data.size())
            m_frames = perFrame > 0 ? m_data.size() / perFrame : 0;
    }
}

void CSoundVoice::setOutputFormat(int framesPerBuffer, int bits, int channels, int rate)
{
    m_outFrames = framesPerBuffer;
    m_outBits = bits;
    m_outChannels = channels;
    m_outRate = rate;
}

int CSoundVoice::openDecoder()
{
    m_decoded.clear();
    m_decodedNext = m_decodedEnd = 0;
    auto decoder = std::make_unique<COggVorbisDecoder>();
    const std::size_t chunk = static_cast<std::size_t>(std::max(m_outFrames, 1)) * static_cast<std::size_t>(std::max(m_outChannels, 1));
    if (!decoder->open(m_data, chunk)) {
        m_decoder.reset();
        return 0;
    }
    m_rate = decoder->info().rate;
    m_decoder = std::move(decoder);
    m_phase = 0.0;
    m_nextValid = false;
    if (!pullOggFrame(m_prev[0], m_prev[1])) {
        m_decoder.reset();  // a stream without a single frame has nothing to play
        return 0;
    }
    m_nextValid = pullOggFrame(m_next[0], m_next[1]);
    return 1;
}

int CSoundVoice::start()
{
    if (!m_item)
        return 0;
    if (m_isOgg) {
        if (m_data.isEmpty() || !openDecoder())
            return 0;
    } else if (m_frames <= 0) {
        return 0;
    }
    m_framePosition = 0.0;
    m_playing = true;
    return 1;
}

int CSoundVoice::prepare(std::size_t, int framesPerBuffer, int bits, int channels, int rate, std::int64_t position)
{
    setOutputFormat(framesPerBuffer, bits, channels, rate);
    m_position = position;
    m_framePosition = static_cast<double>(position);
    if (m_isOgg && m_item && !m_decoder && !openDecoder()) {
        m_playing = false;
        return 0;
    }
    m_playing = m_item != nullptr;
    return 1;
}

int CSoundVoice::fillBuffer(unsigned char* bytes, std::size_t size, int frames, std::int64_t position)
{
    std::vector<float> floats(static_cast<std::size_t>(frames) * static_cast<std::size_t>(m_outChannels), 0.0f);
    generateFloats(floats.data(), frames, m_outRate, position);
    return CSoundMixer::convertToDevice(floats.data(), floats.size(), m_outBits, bytes, size);
}

void CSoundVoice::writeFrame(float* out, int k, float left, float right) const
{
    if (m_outChannels == 1) {
        out[k] = 0.5f * (left + right);
        return;
    }
    float* frame = out + static_cast<std::ptrdiff_t>(k) * m_outChannels;
    frame[0] = left;
    frame[1] = right;
    for (int c = 2; c < m_outChannels; ++c)
        frame[c] = 0.0f;
}

int CSoundVoice::generateFloats(float* out, int frames, int rate, std::int64_t)
{
    if (!m_playing || !m_item || frames <= 0 || rate <= 0)
        return 0;
    if (m_isOgg)
        generateOgg(out, frames, rate);
    else
        generateSamples(out, frames, rate);
    return 1;
}

void CSoundVoice::generateSamples(float* out, int frames, int rate)
{
    const double step = static_cast<double>(m_rate) / rate;
    const int stored = m_channels > 0 ? m_channels : 1;
    const bool playable = (m_bits == 8 || m_bits == 16 || m_bits == 32) && m_channels >= 1;
    const int bytesPerSample = m_bits / 8;
    const auto* data = reinterpret_cast<const unsigned char*>(m_data.constData());
    auto sample = [&](std::int64_t frame, int channel) -> float {
        const unsigned char* p = data + (frame * stored + channel) * bytesPerSample;
        switch (m_bits) {
        case 8:
            return static_cast<float>(static_cast<std::int8_t>(*p ^ 0x7F)) * kScale8;
        case 16: {
            std::int16_t v;
            std::memcpy(&v, p, sizeof v);
            return static_cast<float>(v) * kScale16;
        }
        default: {
            float v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        }
    };
    for (int k = 0; k < frames; ++k) {
        auto i = static_cast<std::int64_t>(m_framePosition);
        if (i >= m_frames) {
            if (!m_loop) {
                for (int r = k; r < frames; ++r)
                    writeFrame(out, r, 0.0f, 0.0f);
                m_playing = false;
                return;
            }
            m_framePosition = 0.0;
            i = 0;
        }
        float left = 0.0f;
        float right = 0.0f;
        if (playable) {
            left = sample(i, 0);
            // A mono item sounds on both sides; of more channels, the first two play.
            right = m_channels > 1 ? sample(i, 1) : left;
        }
        writeFrame(out, k, left, right);
        m_framePosition += step;
    }
}

bool CSoundVoice::pullOggFrame(float& left, float& right)
{
    if (m_decodedNext >= m_decodedEnd) {
        if (!m_decoder)
            return false;
        m_decoded.resize(2 * kDecodeFrames);
        const int got = m_decoder->decode(m_decoded.data(), kDecodeFrames);
        m_decodedNext = 0;
        m_decodedEnd = static_cast<std::size_t>(std::max(got, 0));
        if (got <= 0)
            return false;
    }
    left = m_decoded[2 * m_decodedNext];
    right = m_decoded[2 * m_decodedNext + 1];
    ++m_decodedNext;
    return true;
}

void CSoundVoice::generateOgg(float* out, int frames, int rate)
{
    if (!m_decoder) {
        for (int k = 0; k < frames; ++k)
            writeFrame(out, k, 0.0f, 0.0f);
        return;
    }
    // The stream is brought to the output rate by linear interpolation
    // between consecutive decoded frames; at equal rates every decoded frame
    // comes out unchanged.
    const double step = static_cast<double>(m_rate) / rate;
    for (int k = 0; k < frames; ++k) {
        if (m_nextValid) {
            const float t = static_cast<float>(m_phase);
            writeFrame(out, k, m_prev[0] + (m_next[0] - m_prev[0]) * t, m_prev[1] + (m_next[1] - m_prev[1]) * t);
        } else {
            writeFrame(out, k, m_prev[0], m_prev[1]);
        }
        m_phase += step;
        bool ended = false;
        while (m_phase >= 1.0) {
            if (!m_nextValid) {
                ended = true;
                break;
            }
            m_phase -= 1.0;
            m_prev[0] = m_next[0];
            m_prev[1] = m_next[1];
            m_nextValid = pullOggFrame(m_next[0], m_next[1]);
        }
        if (!ended)
            continue;
        // End of the stream: a looping voice starts the stream again.
        if (m_loop && openDecoder())
            continue;
        for (int r = k + 1; r < frames; ++r)
            writeFrame(out, r, 0.0f, 0.0f);
        m_playing = false;
        m_decoder.reset();
        return;
    }
}
