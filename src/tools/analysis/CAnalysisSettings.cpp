#include "tools/analysis/CAnalysisSettings.h"

#include <algorithm>

CAnalysisSettings CAnalysisSettings::clamped() const
{
    CAnalysisSettings s = *this;
    s.preSmooth = std::clamp<std::int64_t>(s.preSmooth, 0, 500000);
    s.preRate = std::clamp<std::int64_t>(s.preRate, 4, 500000);
    s.previewWidth = std::clamp<std::int64_t>(s.previewWidth, 32, 4096);
    s.previewHeight = std::clamp<std::int64_t>(s.previewHeight, 32, 4096);
    s.margins = std::clamp<std::int64_t>(s.margins, 0, 4096);
    s.extraRange = std::clamp<std::int64_t>(s.extraRange, 0, 500000);
    s.analysisRate = std::clamp<std::int64_t>(s.analysisRate, 4, 500000);
    return s;
}
