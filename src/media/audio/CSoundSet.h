#pragma once

#include "media/audio/CSampleBuffer.h"
#include "media/audio/CWavWriter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A multi-channel sound as the tools load it: one sample buffer per channel
// plus the format it came in.
class CSoundSet {
public:
    static constexpr double kDefaultSampleRate = 44100.0;

    double sampleRate() const { return m_sampleRate; }
    void setSampleRate(double rate) { m_sampleRate = rate; }
    std::uint16_t channelCount() const { return m_channelCount; }
    std::uint16_t bitsPerSample() const { return m_bits; }
    std::uint32_t frameCount() const { return m_frames; }

    // Frees every channel buffer and resets the sample rate.
    void clear();
    int channels() const { return static_cast<int>(m_buffers.size()); }
    CSampleBuffer* channel(int index);
    const CSampleBuffer* channel(int index) const;
    CSampleBuffer& addChannel();
    // Largest frame count over [first, first + count), clamped to the channels held.
    std::uint32_t largestFrameCount(int first, int count) const;

    // 1 when the file was read; on failure the sound set is left as it was.
    int loadWav(const std::string& path);

    // Frames [firstFrame, firstFrame + frameCount) of channels
    // [firstChannel, firstChannel + channelCount), both clamped to what
    // exists. The previous file is replaced only once the new one is complete.
    int writeWav(const std::string& path, std::uint32_t firstFrame, std::uint32_t frameCount, int bits,
                 std::uint32_t sampleRate, int firstChannel, int channelCount, const CWavInfoTexts& texts) const;

private:
    double m_sampleRate = kDefaultSampleRate;
    std::uint16_t m_channelCount = 2;
    std::uint16_t m_bits = 16;
    std::uint32_t m_frames = 0;
    std::vector<std::unique_ptr<CSampleBuffer>> m_buffers;
};
