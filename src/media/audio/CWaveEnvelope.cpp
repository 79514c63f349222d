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
        if (m_frames % m_bucketFrames == 0) {
            // Merging when the next bucket starts keeps every bucket but the
            // last one full.
            if (m_buckets.size() == kMaxBuckets)
                mergeNeighbours();
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

void CWaveEnvelope::mergeNeighbours()
{
    for (std::size_t i = 0; i < m_buckets.size() / 2; ++i) {
        const Bucket& a = m_buckets[2 * i];
        const Bucket& b = m_buckets[2 * i + 1];
        Bucket merged;
        for (int c = 0; c < 2; ++c) {
            merged.low[c] = std::min(a.low[c], b.low[c]);
            merged.high[c] = std::max(a.high[c], b.high[c]);
        }
        m_buckets[i] = merged;
    }
    m_buckets.resize(m_buckets.size() / 2);
    m_bucketFrames *= 2;
}

std::pair<double, double> CWaveEnvelope::range(int channel, std::int64_t first, std::int64_t last) const
{
    if (m_buckets.empty() || channel < 0 || channel > 1)
        return {0.0, 0.0};
    const auto count = static_cast<std::int64_t>(m_buckets.size());
    const std::int64_t from = std::clamp<std::int64_t>(first / m_bucketFrames, 0, count - 1);
    const std::int64_t to = std::clamp<std::int64_t>(last / m_bucketFrames, from, count - 1);
    float low = m_buckets[static_cast<std::size_t>(from)].low[channel];
    float high = m_buckets[static_cast<std::size_t>(from)].high[channel];
    for (std::int64_t b = from + 1; b <= to; ++b) {
        low = std::min(low, m_buckets[static_cast<std::size_t>(b)].low[channel]);
        high = std::max(high, m_buckets[static_cast<std::size_t>(b)].high[channel]);
    }
    return {low, high};
}
