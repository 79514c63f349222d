#pragma once

#include <QByteArray>

#include <cstdint>
#include <utility>
#include <vector>

// The outline of a sound for its picture: the lowest and highest value of
// each of two channels over every run of kBucketFrames frames. A compressed
// sound is decoded once to make it, and drawn from it at any width.
class CWaveEnvelope {
public:
    static constexpr int kBucketFrames = 256;

    // Decodes a whole Ogg Vorbis file; empty when it does not decode.
    static CWaveEnvelope fromOgg(const QByteArray& file);

    bool isEmpty() const { return m_frames == 0; }
    std::int64_t frames() const { return m_frames; }
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
    std::vector<Bucket> m_buckets;
    std::int64_t m_frames = 0;
};
