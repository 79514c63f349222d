#include "media/output/CSoundVoice.h"

#include "media/audio/COggVorbisDecoder.h"
#include "media/output/CSoundMixer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {
constexpr float kScale8 = 0.007874016f;      // 1/127
constexpr float kScale16 = 0.00003051851f;   // 1/32767
constexpr int kDecodeFrames = 1024;

// How each stored encoding reads as a float.
struct Unsigned8 {
    static constexpr int kBytes = 1;
    static float at(const unsigned char* p) { return static_cast<float>(static_cast<std::int8_t>(*p ^ 0x7F)) * kScale8; }
};
struct Signed16 {
    static constexpr int kBytes = 2;
    static float at(const unsigned char* p)
    {
        std::int16_t v;
        std::memcpy(&v, p, sizeof v);
        return static_cast<float>(v) * kScale16;
    }
};
struct Float32 {
    static constexpr int kBytes = 4;
    static float at(const unsigned char* p)
    {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
};

// Adds one frame to an output frame of `Out` channels (0: `out` channels, of
// which the first two sound): a mono output hears both sides at half.
template <int Out>
void addFrame(float* frame, float left, float right, float gain)
{
    if constexpr (Out == 1) {
        frame[0] += gain * (0.5f * (left + right));
    } else {
        frame[0] += gain * left;
        frame[1] += gain * right;
    }
}

// Adds `gain` times `count` frames to `mix`, reading stored frames of
// `Stored` channels (0: `stored` channels) at `position` and stepping it by
// `step`. The caller makes sure every frame read lies inside the item. One
// function for each format, chosen once a buffer, so that nothing in the loop
// asks what the format is.
template <typename Read, int Stored, int Out>
void addFrames(const unsigned char* data, int stored, int out, double& position, double step, int count, float gain,
               float* mix)
{
    const std::size_t frameBytes = static_cast<std::size_t>(Stored ? Stored : stored) * Read::kBytes;
    const std::size_t outStride = static_cast<std::size_t>(Out ? Out : out);
    double at = position;
    if (step == 1.0 && at == std::floor(at)) {
        // At the item's own rate from a whole frame the frames follow one
        // another: no position to convert at each frame.
        const unsigned char* first = data + static_cast<std::size_t>(at) * frameBytes;
        for (int k = 0; k < count; ++k) {
            const unsigned char* p = first + static_cast<std::size_t>(k) * frameBytes;
            const float left = Read::at(p);
            const float right = Stored == 1 ? left : Read::at(p + Read::kBytes);
            addFrame<Out>(mix + static_cast<std::size_t>(k) * outStride, left, right, gain);
        }
        position = at + count;
        return;
    }
    for (int k = 0; k < count; ++k) {
        const unsigned char* p = data + static_cast<std::size_t>(at) * frameBytes;
        const float left = Read::at(p);
        // A mono item sounds on both sides; of more channels, the first two play.
        const float right = Stored == 1 ? left : Read::at(p + Read::kBytes);
        addFrame<Out>(mix + static_cast<std::size_t>(k) * outStride, left, right, gain);
        at += step;
    }
    position = at;
}

// Formats a voice cannot play are silence that takes its time all the same.
void skipFrames(const unsigned char*, int, int, double& position, double step, int count, float, float*)
{
    for (int k = 0; k < count; ++k)
        position += step;
}

using AddFrames = void (*)(const unsigned char*, int, int, double&, double, int, float, float*);

template <typename Read, int Out>
AddFrames forStored(int stored)
{
    return stored == 1 ? &addFrames<Read, 1, Out> : stored == 2 ? &addFrames<Read, 2, Out> : &addFrames<Read, 0, Out>;
}

template <int Out>
AddFrames forBits(int bits, int stored)
{
    switch (bits) {
    case 8:
        return forStored<Unsigned8, Out>(stored);
    case 16:
        return forStored<Signed16, Out>(stored);
    case 32:
        return forStored<Float32, Out>(stored);
    default:
        return &skipFrames;
    }
}

AddFrames addFramesFor(int bits, int stored, int out)
{
    if (stored < 1 || out < 1)
        return &skipFrames;
    return out == 1 ? forBits<1>(bits, stored) : out == 2 ? forBits<2>(bits, stored) : forBits<0>(bits, stored);
}

// Adds `gain` times `count` interleaved stereo frames to `mix` of `out` channels.
void addStereo(const float* frames, int count, float gain, float* mix, int out)
{
    if (out == 2) {
        for (std::size_t i = 0; i < 2 * static_cast<std::size_t>(count); ++i)
            mix[i] += gain * frames[i];
        return;
    }
    for (int k = 0; k < count; ++k) {
        float* frame = mix + static_cast<std::size_t>(k) * static_cast<std::size_t>(out);
        if (out == 1)
            addFrame<1>(frame, frames[2 * k], frames[2 * k + 1], gain);
        else
            addFrame<0>(frame, frames[2 * k], frames[2 * k + 1], gain);
    }
}
} // namespace

CSoundVoice::CSoundVoice() = default;
CSoundVoice::~CSoundVoice() = default;

void CSoundVoice::setItem(const IVoiceSource* item)
{
    m_playing = false;
    m_decoder.reset();
    m_whole.reset();
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
    m_streamed = 0;
    m_phase = 0.0;
    if (!m_whole && m_streams)
        m_whole = m_streams->find(m_data);
    if (m_whole) {
        m_decoder.reset();
        m_rate = m_whole->rate;
        m_decodedEnd = m_whole->frameCount();
        return 1;
    }
    auto decoder = std::make_unique<COggVorbisDecoder>();
    const std::size_t chunk = static_cast<std::size_t>(std::max(m_outFrames, 1)) * static_cast<std::size_t>(std::max(m_outChannels, 1));
    if (!decoder->open(m_data, chunk)) {
        m_decoder.reset();
        return 0;
    }
    m_rate = decoder->info().rate;
    m_decoder = std::move(decoder);
    m_phase = 0.0;
    if (!decodedAhead(1)) {
        m_decoder.reset();  // a stream without a single frame has nothing to play
        return 0;
    }
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
    if (m_isOgg && m_item && !hasDecoder() && !openDecoder()) {
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

int CSoundVoice::generateFloats(float* out, int frames, int rate, std::int64_t)
{
    if (!m_playing || !m_item || frames <= 0 || rate <= 0)
        return 0;
    std::fill(out, out + static_cast<std::size_t>(frames) * static_cast<std::size_t>(std::max(m_outChannels, 0)), 0.0f);
    return mixInto(out, frames, rate, 1.0f);
}

int CSoundVoice::mixInto(float* mix, int frames, int rate, float gain)
{
    if (!m_playing || !m_item || frames <= 0 || rate <= 0)
        return 0;
    if (m_isOgg)
        mixOgg(mix, frames, rate, gain);
    else
        mixSamples(mix, frames, rate, gain);
    return 1;
}

void CSoundVoice::mixSamples(float* mix, int frames, int rate, float gain)
{
    const double step = static_cast<double>(m_rate) / rate;
    const AddFrames add = addFramesFor(m_bits, m_channels, m_outChannels);
    const auto* data = reinterpret_cast<const unsigned char*>(m_data.constData());
    const auto stride = static_cast<std::size_t>(std::max(m_outChannels, 0));
    int k = 0;
    while (k < frames) {
        if (m_frames <= 0 || m_framePosition < 0.0 || static_cast<std::int64_t>(m_framePosition) >= m_frames) {
            if (!m_loop || m_frames <= 0 || step <= 0.0) {
                m_playing = false;
                return;
            }
            m_framePosition = 0.0;
        }
        // The frames that surely read inside the item go in one run; the
        // last one or two before its end go one at a time.
        const double inside = (static_cast<double>(m_frames) - m_framePosition) / step - 1.0;
        const int count = inside >= frames - k ? frames - k : std::max(1, static_cast<int>(inside));
        add(data, m_channels, m_outChannels, m_framePosition, step, count, gain, mix + static_cast<std::size_t>(k) * stride);
        k += count;
    }
}

bool CSoundVoice::decodedAhead(std::size_t count)
{
    if (m_decodedEnd - m_decodedNext >= count)
        return true;
    if (!m_decoder)
        return false;
    // What still waits moves to the front, and a block is decoded after it.
    std::copy(m_decoded.begin() + static_cast<std::ptrdiff_t>(2 * m_decodedNext),
              m_decoded.begin() + static_cast<std::ptrdiff_t>(2 * m_decodedEnd), m_decoded.begin());
    m_decodedEnd -= m_decodedNext;
    m_decodedNext = 0;
    m_decoded.resize(2 * (m_decodedEnd + kDecodeFrames));
    const int got = m_decoder->decode(m_decoded.data() + 2 * m_decodedEnd, kDecodeFrames);
    m_decodedEnd += static_cast<std::size_t>(std::max(got, 0));
    m_streamed += static_cast<std::size_t>(std::max(got, 0));
    return m_decodedEnd - m_decodedNext >= count;
}

void CSoundVoice::takeWholeStream()
{
    CDecodedOggStreams::StreamPointer whole = m_streams ? m_streams->find(m_data) : nullptr;
    // The frames waiting were decoded last: the playing one is that many
    // before the decoder's count.
    const std::size_t at = m_streamed - (m_decodedEnd - m_decodedNext);
    if (!whole || at >= whole->frameCount())
        return;
    m_whole = std::move(whole);
    m_decoder.reset();
    m_decodedNext = at;
    m_decodedEnd = m_whole->frameCount();
}

void CSoundVoice::mixOgg(float* mix, int frames, int rate, float gain)
{
    if (m_decoder)
        takeWholeStream();
    // Without a stream the voice is silence until it is given another item.
    if (!hasDecoder())
        return;
    // The stream is brought to the output rate by linear interpolation
    // between consecutive decoded frames; at equal rates every decoded frame
    // comes out unchanged.
    const double step = static_cast<double>(m_rate) / rate;
    const auto stride = static_cast<std::size_t>(std::max(m_outChannels, 0));
    int k = 0;
    while (k < frames) {
        const bool hasNext = decodedAhead(2);
        const float* frame = (m_whole ? m_whole->frames.data() : m_decoded.data()) + 2 * m_decodedNext;
        float* out = mix + static_cast<std::size_t>(k) * stride;
        bool ended = false;
        if (step == 1.0 && m_phase == 0.0) {
            // Every frame waiting but the last goes in one run; the last
            // waits for the frame after it.
            const std::size_t waiting = hasNext ? m_decodedEnd - m_decodedNext - 1 : 1;
            const int count = static_cast<int>(std::min(waiting, static_cast<std::size_t>(frames - k)));
            addStereo(frame, count, gain, out, m_outChannels);
            k += count;
            m_decodedNext += hasNext ? static_cast<std::size_t>(count) : 0;
            ended = !hasNext;
        } else {
            const float t = static_cast<float>(m_phase);
            const float left = hasNext ? frame[0] + (frame[2] - frame[0]) * t : frame[0];
            const float right = hasNext ? frame[1] + (frame[3] - frame[1]) * t : frame[1];
            addStereo(std::array<float, 2>{left, right}.data(), 1, gain, out, m_outChannels);
            ++k;
            m_phase += step;
            while (m_phase >= 1.0 && !ended) {
                ended = !decodedAhead(2);
                if (!ended) {
                    m_phase -= 1.0;
                    ++m_decodedNext;
                }
            }
        }
        if (!ended)
            continue;
        // End of the stream: a looping voice starts the stream again.
        if (m_loop && openDecoder())
            continue;
        m_playing = false;
        m_decoder.reset();
        m_whole.reset();
        return;
    }
}
