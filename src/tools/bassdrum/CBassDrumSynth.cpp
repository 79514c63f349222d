#include "tools/bassdrum/CBassDrumSynth.h"

#include "media/audio/CSampleBuffer.h"

#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr std::uint32_t kProgressStep = 1u << 16;

bool refused(const CBassDrumParameters& p)
{
    return !(p.deceleration > 0.0) || !std::isfinite(p.deceleration) || !(p.sampleRate > 0)
           || !(p.startFrequency > 0.0) || !(p.endFrequency > 0.0) || !std::isfinite(p.startFrequency)
           || !std::isfinite(p.endFrequency);
}
} // namespace

std::optional<std::uint32_t> CBassDrumSynth::sampleCount(const CBassDrumParameters& p)
{
    if (refused(p))
        return std::nullopt;
    const double rate = p.sampleRate;
    const double endPeriod = rate / p.endFrequency;
    // The same additions as the rendering loop, so that the count matches it
    // to the last sample.
    std::uint32_t n = 0;
    for (double period = rate / p.startFrequency; period < endPeriod; period += p.deceleration) {
        if (n == kMaxSamples)
            return std::nullopt;
        ++n;
    }
    return n;
}

int CBassDrumSynth::render(const CBassDrumParameters& p, CSampleBuffer& out, const Progress& progress)
{
    const auto count = sampleCount(p);
    if (!count || !out.resize(*count, true)) {
        out.resize(0);
        return 0;
    }
    const double rate = p.sampleRate;
    double period = rate / p.startFrequency;
    double phase = 0.0;
    double* samples = out.data();
    for (std::uint32_t n = 0; n < *count; ++n) {
        if (progress && n % kProgressStep == 0 && !progress(static_cast<int>(n), static_cast<int>(*count))) {
            out.resize(0);
            return 0;
        }
        phase += kTwoPi / period;
        samples[n] = std::sin(phase);
        period += p.deceleration;
    }
    if (progress)
        progress(static_cast<int>(*count), static_cast<int>(*count));
    return 1;
}
