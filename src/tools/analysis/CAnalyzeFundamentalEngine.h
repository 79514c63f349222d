#pragma once

#include "core/IPrompter.h"
#include "media/audio/CSoundSet.h"
#include "tools/analysis/CAnalysisHooks.h"
#include "tools/analysis/CAnalysisSettings.h"
#include "tools/analysis/CAnalysisView.h"

#include <string>

// What the "Analyze Fundamental" tool window works on: the settings, the
// loaded recording, the preview with its bound curves, and the analysis
// proper. The window runs each task in a progress window; the command line
// and the tests call the same operations.
class CAnalyzeFundamentalEngine {
public:
    static constexpr const char* kNoSampleText = "No Sample Loaded.";
    static constexpr const char* kLoadFailedText = "Error occured when trying to load the WAV file !";
    static constexpr const char* kNoSourceMessage = "No source .WAV sound file loaded !";
    static constexpr const char* kNoDestinationMessage = "No destination .AWA file specified !";

    CAnalyzeFundamentalEngine();

    CAnalysisSettings& settings() { return m_settings; }
    const CAnalysisSettings& settings() const { return m_settings; }
    // The sheet's defaults and empty file names.
    void factoryReset();

    // Messages go to the prompter (none: they are dropped).
    void setPrompter(IPrompter* prompter) { m_prompter = prompter; }

    // The info item's text.
    const std::string& infoText() const { return m_info; }
    // The info text while loading (name, header line, "Loading WAV file
    // into memory..."), for a window that redraws before the load.
    std::string loadingText() const;
    // Loads the input file into the source; the info text tells how it went.
    int loadSource();
    bool hasSource() const;
    const CSoundSet& source() const { return m_source; }
    // Adopts a sound (tests, or a caller that has one in memory).
    void setSource(const CSampleBuffer& channel0, double sampleRate);

    // The preview in its three steps, as the window runs them: prepare (the
    // smoothed, resampled copy and the view's geometry; 0 with the message
    // when there is no source), then the view's tasks "Sound Analysis",
    // "Analysis Results" and "Bitmap View" on previewSamples(), then finish
    // (the copy is dropped).
    int preparePreview();
    const CSampleBuffer& previewSamples() const;
    void finishPreview() { m_work.clear(); }
    // All of it with one set of hooks. 1 when every task ran to its end.
    int preview(const CAnalysisHooks& hooks);

    CAnalysisView& view() { return m_view; }
    const CAnalysisView& view() const { return m_view; }

    // The bound curves narrowed to the best row of each column, give or take
    // the margins. 0 when there is no preview to optimise on.
    int optimiseMargins();

    // Bounds estimated from the recording itself (CPeriodTracker) on the
    // last preview's columns, kSemitones either side of the tracked period.
    // 0 when there is no preview to estimate on, or when stopped.
    static constexpr double kSemitones = 3.0;
    int estimateBounds(const CAnalysisHooks& hooks = {});

    // Both curves flat between two frequencies (Hz), as rows of the preview
    // (the view must have been previewed or at least configured).
    void setBoundsFromFrequencies(double lowHz, double highHz);

    // The analysis proper into the output file: 0 with a message when there
    // is no destination or no source; otherwise the task's result.
    int analyse(const CAnalysisHooks& hooks, int threads = 0);
    const std::vector<double>& periods() const { return m_periods; }

private:
    void tell(const char* message) const;
    // Channel 0 smoothed (a moving average `smoothing` samples wide) and
    // resampled to the preview rate; 0 (with the
    // message) when there is no source, or too little or too much of it.
    int makePreviewSamples(CSampleBuffer& out, std::int64_t smoothing) const;

    CAnalysisSettings m_settings;
    CSoundSet m_source;
    CSoundSet m_work;
    CAnalysisView m_view;
    std::string m_info = kNoSampleText;
    std::vector<double> m_periods;
    IPrompter* m_prompter = nullptr;
};
