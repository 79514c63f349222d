#pragma once

#include "tools/bassdrum/CBassDrumParameters.h"

#include <cstdint>
#include <functional>
#include <optional>

class CSampleBuffer;

// A sine whose period grows by `deceleration` samples at every sample, from
// rate / start frequency until it reaches rate / end frequency.
class CBassDrumSynth {
public:
    // Longest sound rendered (about 25 minutes at 44100 Hz). Slow
    // decelerations beyond it, a deceleration of 0 or below (the period would
    // never grow) and an end frequency of 0 are refused rather than run
    // without end.
    static constexpr std::uint32_t kMaxSamples = 1u << 26;

    // Called now and then with (samples done, samples in all); returning
    // false aborts the rendering.
    using Progress = std::function<bool(int current, int max)>;

    // The sample count, or nothing when the parameters are refused. A start
    // frequency at or below the end frequency gives 0 samples.
    static std::optional<std::uint32_t> sampleCount(const CBassDrumParameters& parameters);

    // 1 with `out` holding the sound; 0 when refused or aborted, `out` then empty.
    static int render(const CBassDrumParameters& parameters, CSampleBuffer& out, const Progress& progress = {});
};
