#pragma once

#include "media/audio/CSampleCodec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One channel of sound as doubles on a nominal -1..+1 scale. Reading at or
// beyond the end yields 0.0 and writing there is ignored, so that the
// numeric operations can run windows over the edges without checks.
class CSampleBuffer {
public:
    struct Range {
        double min = 0.0;
        double max = 0.0;
    };

    std::uint32_t count() const { return static_cast<std::uint32_t>(m_samples.size()); }
    const double* data() const { return m_samples.data(); }
    double* data() { return m_samples.data(); }

    // Keeps the existing samples; new samples are always zero, so zeroFill
    // only states what the caller relies on. Resizing to 0 frees the storage.
    // 1 success, 0 when memory runs out (the buffer is then unchanged).
    int resize(std::uint32_t count, bool zeroFill = true);

    double get(std::int64_t index) const
    {
        return index >= 0 && index < static_cast<std::int64_t>(m_samples.size())
                   ? m_samples[static_cast<std::size_t>(index)]
                   : 0.0;
    }
    void set(std::int64_t index, double value)
    {
        if (index >= 0 && index < static_cast<std::int64_t>(m_samples.size()))
            m_samples[static_cast<std::size_t>(index)] = value;
    }

    int copyFrom(const CSampleBuffer& other);
    // This buffer becomes `count` samples of `other` from `first`, the count
    // clamped to what exists there.
    int copyRangeFrom(const CSampleBuffer& other, std::uint32_t first, std::uint32_t count);

    // Widths above 1 average a box of that many samples; otherwise the two
    // neighbouring samples are interpolated linearly.
    double read(double position, double width) const;
    // New sample i is read(i * M / N, M / N) of the old M samples. Fails on
    // an empty buffer.
    int resample(std::uint32_t newCount);
    // Forward moving average in place: the last width - 1 samples fade to 0.
    void smooth(std::uint32_t width);

    void sortAscending(std::uint32_t first, std::uint32_t count);
    double percentile(std::uint32_t first, std::uint32_t count, double fraction) const;
    // Mean of |x[a + k] - x[b + k]| over count samples, doubled.
    double meanAbsoluteDifference(std::uint32_t a, std::uint32_t b, std::uint32_t count) const;
    double rms(std::uint32_t first, std::uint32_t count) const;
    // Over the samples of the range that exist; {0, 0} when none do.
    Range minMax(std::uint32_t first, std::uint32_t count) const;
    void normalise(std::uint32_t first, std::uint32_t count, double low, double high);
    void clamp(std::uint32_t first, std::uint32_t count, double low, double high);
    void ramp(std::uint32_t a, std::uint32_t b, double valueA, double valueB);

    // The file is nothing but consecutive little-endian doubles.
    int loadRaw(const std::string& path);
    int saveRaw(const std::string& path) const;

    // One channel of an interleaved block: frame k of `bytes` is sample
    // first + k of the buffer. The count is clamped to the frames the block
    // holds; samples beyond the buffer are skipped (import) or read as 0
    // (export). 0 for an unsupported format or a channel outside the frame.
    int importSamples(const unsigned char* bytes, std::size_t size, std::uint32_t first, std::uint32_t count,
                      int bits, int channel, int channels,
                      CSampleEncoding encoding = CSampleEncoding::SystemScale);
    int exportSamples(unsigned char* bytes, std::size_t size, std::uint32_t first, std::uint32_t count, int bits,
                      int channel, int channels) const;

private:
    // The existing part of [first, first + count).
    std::size_t clampedCount(std::uint32_t first, std::uint32_t count) const;

    std::vector<double> m_samples;
};
