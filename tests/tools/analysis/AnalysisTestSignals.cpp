#include "AnalysisTestSignals.h"

#include <cmath>
#include <numbers>

CSampleBuffer voiceLike(const std::vector<ToneSegment>& segments, double sampleRate)
{
    std::size_t total = 0;
    for (const ToneSegment& s : segments)
        total += static_cast<std::size_t>(s.seconds * sampleRate);
    CSampleBuffer b;
    b.resize(static_cast<std::uint32_t>(total));
    double phase = 0.0;
    std::size_t i = 0;
    for (const ToneSegment& s : segments) {
        const auto n = static_cast<std::size_t>(s.seconds * sampleRate);
        for (std::size_t k = 0; k < n; ++k, ++i) {
            double v = 0.0;
            for (int h = 1; h <= 5; ++h)
                v += std::sin(phase * h) * 0.5 / h;
            b.set(static_cast<std::int64_t>(i), v);
            phase += 2.0 * std::numbers::pi * s.frequency / sampleRate;
        }
    }
    return b;
}

double frequencyAt(const std::vector<ToneSegment>& segments, double t)
{
    double start = 0.0;
    for (const ToneSegment& s : segments) {
        if (t < start + s.seconds)
            return s.frequency;
        start += s.seconds;
    }
    return segments.empty() ? 0.0 : segments.back().frequency;
}

#include "tools/analysis/CAnalyzeFundamentalEngine.h"

void drawBoundsAroundNotes(CAnalyzeFundamentalEngine& engine, const std::vector<ToneSegment>& segments)
{
    double seconds = 0.0;
    for (const ToneSegment& s : segments)
        seconds += s.seconds;
    CAnalysisView& view = engine.view();
    const double preRate = static_cast<double>(engine.settings().preRate);
    for (std::int64_t c = 0; c < view.columns(); ++c) {
        const double t = (static_cast<double>(c) + 0.5) * seconds / static_cast<double>(view.columns());
        const double row = preRate / frequencyAt(segments, t) - static_cast<double>(view.minimumLag());
        view.lower().set(c, std::floor(row) - 3);
        view.upper().set(c, std::ceil(row) + 3);
    }
}
