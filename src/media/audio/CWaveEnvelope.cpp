#include "media/audio/CWaveEnvelope.h"

#include "media/audio/COggVorbisDecoder.h"

#include <algorithm>

CWaveEnvelope CWaveEnvelope::fromOgg(const QByteArray& file)
{
    CWaveEnvelope envelope;
    COggVorbisDecoder decoder;
    if (!decoder.open(file, 1 << 16))
        return envelope;
    std::vector<float> chunk(2 * 4096);
    for (int got = decoder.decode(chunk.data(), 4096); got > 0; got = decoder.decode(chunk.data(), 4096))
        envelope.append(chunk.data(), got);
    return envelope;
}

void CWaveEnvelope::append(const float* frames, int count)
{
    for (int i = 0; i < count; ++i, ++m_frames) {
        const float* frame = frames + 2 * i;
        if (m_frames % kBucketFrames == 0) {
            m_buckets.push_back({{frame[0], frame[1]}, {frame[0], frame[1]}});
            continue;
        }
        Bucket& bucket = m_buckets.back();
        for (int c = 0; c < 2; ++c) {
            bucket.low[c] = std::min(bucket.low[c], frame[c]);
            bucket.high[c] = std::max(bucket.high[c], frame[c]);
        }
    }
}

std::pair<double, double> CWaveEnvelope::range(int channel, std::int64_t first, std::int64_t last) const
{
    if (m_buckets.empty() || channel < 0 || channel > 1)
        return {0.0, 0.0};
    const auto count = static_cast<std::int64_t>(m_buckets.size());
    const std::int64_t from = std::clamp<std::int64_t>(first / kBucketFrames, 0, count - 1);
    const std::int64_t to = std::clamp<std::int64_t>(last / kBucketFrames, from, count - 1);
    float low = m_buckets[static_cast<std::size_t>(from)].low[channel];
    float high = m_buckets[static_cast<std::size_t>(from)].high[channel];
    for (std::int64_t b = from + 1; b <= to; ++b) {
        low = std::min(low, m_buckets[static_cast<std::size_t>(b)].low[channel]);
        high = std::max(high, m_buckets[static_cast<std::size_t>(b)].high[channel]);
    }
    return {low, high};
}
