#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// The outline of a sound for its picture: the lowest and highest value of
// each of two channels over every run of bucketFrames() frames. A compressed
// sound is decoded once to make it, and drawn from it at any width.
// Buckets start one frame long and double (neighbours merged) whenever
// kMaxBuckets are full, so a short sound keeps every wave a cell can show
// and a long one stays a few hundred kilobytes.
class CWaveEnvelope {
public:
    static constexpr std::size_t kMaxBuckets = 16384;

    // Decodes a whole Ogg Vorbis file; empty when it does not decode.
    static CWaveEnvelope fromOgg(const QByteArray& file);

    bool isEmpty() const { return m_frames == 0; }
    std::int64_t frames() const { return m_frames; }
    std::int64_t bucketFrames() const { return m_bucketFrames; }
    std::size_t bucketCount() const { return m_buckets.size(); }
    // Lowest and highest value of `channel` (0 or 1) over frames `first` to
    // `last`, to the nearest bucket.
    std::pair<double, double> range(int channel, std::int64_t first, std::int64_t last) const;

    // Adds interleaved two-channel frames.
    void append(const float* frames, int count);

private:
    struct Bucket {
        float low[2] = {0, 0};
        float high[2] = {0, 0};
    };
    void mergeNeighbours();

    std::vector<Bucket> m_buckets;
    std::int64_t m_frames = 0;
    std::int64_t m_bucketFrames = 1;
};
