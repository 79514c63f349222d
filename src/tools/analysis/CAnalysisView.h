#pragma once

#include "media/audio/CSampleBuffer.h"
#include "tools/analysis/CAnalysisHooks.h"
#include "tools/analysis/CGradientColorMap.h"

#include <QImage>

#include <cstdint>
#include <vector>

// The preview of an analysis: for every time column of the signal, how well
// it matches itself at each lag, as two cell arrays and a picture, with the
// lower and upper bound curves the user draws or optimises on it. The bound
// curves hold one value per column; their values are row indices, and row r
// stands for the lag r + minimumLag() in preview samples.
class CAnalysisView {
public:
    static constexpr const char* kNoAnalysisText = "No Analysis Done";
    static constexpr int kPreviewMinimumLag = 2;

    CAnalysisView();

    // The geometry of a preview of n samples (step 2 of the preview).
    void configure(std::uint32_t samples, std::int64_t width, std::int64_t height, std::int64_t extraRange,
                   double sourceRate);

    std::int64_t step() const { return m_step; }
    std::int64_t window() const { return m_window; }
    std::int64_t minimumLag() const { return m_minLag; }
    std::int64_t maximumLag() const { return m_maxLag; }
    std::int64_t sampleRate() const { return m_sampleRate; }
    // The picture's size: 0 until a preview was analysed.
    std::int64_t columns() const { return m_columns; }
    std::int64_t rows() const { return m_rows; }

    // The three tasks of the preview, each 1 when it ran to its end and 0
    // when stopped or failed (with its log lines said).
    int soundAnalysis(const CSampleBuffer& samples, const CAnalysisHooks& hooks);
    int analysisResults(const CAnalysisHooks& hooks);
    int bitmapView(const CAnalysisHooks& hooks);

    // Both cell arrays hold a value for every cell.
    bool hasValues() const;
    // Both curves hold one value per column.
    bool hasBounds() const;

    // Keeps the best row of each column between the curves, and `margin`
    // rows on each side of it. 0 (nothing changed) without values or bounds.
    int optimiseMargins(double margin);

    // Cell (column c, row r) of the first array; 0 outside.
    double cell(std::int64_t column, std::int64_t row) const;
    const CSampleBuffer& cells() const { return m_cells; }

    CSampleBuffer& lower() { return m_lower; }
    CSampleBuffer& upper() { return m_upper; }
    const CSampleBuffer& lower() const { return m_lower; }
    const CSampleBuffer& upper() const { return m_upper; }
    // Both curves flat at the given rows, one value per column (a single
    // value before any preview). Rows are clamped to the picture when known.
    void setFlatBounds(double lowerRow, double upperRow);
    // Bounds `semitones` either side of one lag per column (preview samples;
    // 0 or less for a column without a period, whose bounds then make the
    // search find period 0, which the MIDI conversion plays as no note).
    // 0 (nothing changed) when the lags are not one per column.
    int setBoundsAroundLags(const std::vector<double>& lags, double semitones);

    const CGradientColorMap& gradient() const { return m_gradient; }
    // The picture is not redrawn: run bitmapView() afterwards.
    void setGradient(const CGradientColorMap& map) { m_gradient = map; }

    // Column x, row y from the top. Cell row r is drawn at y = rows - 1 - r:
    // the shortest lags at the bottom, so that rows counted from the bottom
    // (as the bound curves are drawn) line up with the picture.
    const QImage& picture() const { return m_picture; }

private:
    void holdLastWholeColumn(std::uint32_t sampleCount, std::int64_t window);
    std::int64_t m_step = 100;
    std::int64_t m_window = 200;
    std::int64_t m_minLag = 1;
    std::int64_t m_maxLag = 100;
    std::int64_t m_sampleRate = 44100;
    std::int64_t m_columns = 0;
    std::int64_t m_rows = 0;

    CSampleBuffer m_lower;
    CSampleBuffer m_upper;
    CSampleBuffer m_cells;
    CSampleBuffer m_cells2;
    CGradientColorMap m_gradient;
    QImage m_picture;
};
