#include "tools/analysis/CAnalyzeFundamentalEngine.h"

#include "media/audio/AudioFileName.h"
#include "media/audio/CWavHeaderInfo.h"
#include "tools/analysis/CFundamentalAnalysis.h"
#include "tools/analysis/CPeriodTracker.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {
std::string describedName(const std::string& path)
{
    const std::string name = QFileInfo(audioFileName(path)).completeBaseName().toLocal8Bit().toStdString();
    return name + ", " + CWavHeaderInfo::describe(path);
}
} // namespace

CAnalyzeFundamentalEngine::CAnalyzeFundamentalEngine() = default;

void CAnalyzeFundamentalEngine::factoryReset()
{
    m_settings = CAnalysisSettings{};
}

void CAnalyzeFundamentalEngine::tell(const char* message) const
{
    if (m_prompter)
        m_prompter->tell(message, IPrompter::Icon::Exclamation);
}

std::string CAnalyzeFundamentalEngine::loadingText() const
{
    return describedName(m_settings.inputPath) + "\nLoading WAV file into memory...";
}

int CAnalyzeFundamentalEngine::loadSource()
{
    if (!m_source.loadWav(m_settings.inputPath)) {
        m_info = kLoadFailedText;
        return 0;
    }
    m_info = describedName(m_settings.inputPath);
    return 1;
}

bool CAnalyzeFundamentalEngine::hasSource() const
{
    return m_source.channels() > 0 && m_source.channel(0)->count() > 0;
}

void CAnalyzeFundamentalEngine::setSource(const CSampleBuffer& channel0, double sampleRate)
{
    m_source.clear();
    m_source.addChannel().copyFrom(channel0);
    m_source.setSampleRate(sampleRate);
}

int CAnalyzeFundamentalEngine::makePreviewSamples(CSampleBuffer& work, std::int64_t smoothing) const
{
    const CAnalysisSettings s = m_settings.clamped();
    if (!hasSource()) {
        tell(kNoSourceMessage);
        return 0;
    }
    const CSampleBuffer& channel = *m_source.channel(0);
    const std::uint64_t n = CFundamentalAnalysis::entryCount(channel.count(), m_source.sampleRate(),
                                                             static_cast<double>(s.preRate));
    // Too short to give a single preview sample, or too long to hold: there
    // is nothing the preview could show.
    if (n == 0 || !CFundamentalAnalysis::fitsBuffers(n, channel.count())) {
        tell(kNoSourceMessage);
        return 0;
    }
    if (!work.copyFrom(channel))
        return 0;
    work.smooth(static_cast<std::uint32_t>(smoothing));
    return work.resample(static_cast<std::uint32_t>(n)) ? 1 : 0;
}

int CAnalyzeFundamentalEngine::preparePreview()
{
    m_work.clear();
    CSampleBuffer& work = m_work.addChannel();
    if (!makePreviewSamples(work, m_settings.clamped().preSmooth)) {
        m_work.clear();
        return 0;
    }
    const CAnalysisSettings s = m_settings.clamped();
    m_view.configure(work.count(), s.previewWidth, s.previewHeight, s.extraRange, m_source.sampleRate());
    return 1;
}

int CAnalyzeFundamentalEngine::estimateBounds(const CAnalysisHooks& hooks)
{
    if (!m_view.hasBounds())
        return 0;
    // The tracker listens below about 1.2 kHz: the upper harmonics a voice's
    // formants lift would otherwise fold back into the preview rate and blur
    // the dips at the period.
    const auto smoothing = std::max<std::int64_t>(m_settings.clamped().preSmooth,
                                                  std::llround(m_source.sampleRate() / 1200.0));
    CSampleBuffer samples;
    if (!makePreviewSamples(samples, smoothing))
        return 0;
    const std::vector<double> lags =
        CPeriodTracker::track(samples, m_view.step(), m_view.columns(), m_view.minimumLag(), m_view.maximumLag(),
                              m_view.window(), hooks);
    return lags.empty() ? 0 : m_view.setBoundsAroundLags(lags, kSemitones);
}

const CSampleBuffer& CAnalyzeFundamentalEngine::previewSamples() const
{
    static const CSampleBuffer empty;
    return m_work.channels() > 0 ? *m_work.channel(0) : empty;
}

int CAnalyzeFundamentalEngine::preview(const CAnalysisHooks& hooks)
{
    if (!preparePreview())
        return 0;
    const int done = m_view.soundAnalysis(previewSamples(), hooks) && m_view.analysisResults(hooks)
                     && m_view.bitmapView(hooks);
    finishPreview();
    return done;
}

int CAnalyzeFundamentalEngine::optimiseMargins()
{
    return m_view.optimiseMargins(static_cast<double>(m_settings.clamped().margins));
}

void CAnalyzeFundamentalEngine::setBoundsFromFrequencies(double lowHz, double highHz)
{
    const double rate = static_cast<double>(m_settings.clamped().preRate);
    const double offset = static_cast<double>(m_view.minimumLag());
    // The higher frequency has the shorter period, hence the lower row.
    const double lowerRow = rate / highHz - offset;
    const double upperRow = rate / lowHz - offset;
    m_view.setFlatBounds(std::floor(std::min(lowerRow, upperRow)), std::ceil(std::max(lowerRow, upperRow)));
}

int CAnalyzeFundamentalEngine::analyse(const CAnalysisHooks& hooks, int threads)
{
    if (m_settings.outputPath.empty()) {
        tell(kNoDestinationMessage);
        return 0;
    }
    if (!hasSource()) {
        tell(kNoSourceMessage);
        return 0;
    }
    const CAnalysisSettings s = m_settings.clamped();
    CFundamentalAnalysis::Settings a;
    a.analysisRate = static_cast<double>(s.analysisRate);
    a.preRate = static_cast<double>(s.preRate);
    a.rowOffset = static_cast<double>(m_view.minimumLag());
    a.threads = threads;
    CFundamentalAnalysis analysis(a);
    const int done = analysis.run(*m_source.channel(0), m_source.sampleRate(), m_view.lower(), m_view.upper(),
                                  s.outputPath, hooks);
    m_periods = analysis.periods();
    return done;
}
