#include "tools/analysis/CAnalysisView.h"

#include "tools/analysis/CLagDifferences.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <new>
#include <vector>

namespace {
// Preview pictures larger than this many cells are refused rather than
// allocated (each cell array is this many doubles).
constexpr std::int64_t kMaxCells = std::int64_t(1) << 26;

std::string sizeLine(const char* format, std::int64_t columns, std::int64_t rows)
{
    char text[160];
    std::snprintf(text, sizeof text, format, static_cast<int>(columns), static_cast<int>(rows));
    return text;
}

std::int64_t roundedRatio(double a, double b)
{
    return static_cast<std::int64_t>(std::round(a / b)); // halves away from zero
}
} // namespace

CAnalysisView::CAnalysisView() = default;

void CAnalysisView::configure(std::uint32_t samples, std::int64_t width, std::int64_t height,
                              std::int64_t extraRange, double sourceRate)
{
    m_step = std::max<std::int64_t>(1, roundedRatio(samples, static_cast<double>(std::max<std::int64_t>(1, width))));
    m_window = height + extraRange + 1;
    m_minLag = kPreviewMinimumLag;
    m_maxLag = height;
    m_sampleRate = static_cast<std::int64_t>(std::trunc(sourceRate + 0.5));
}

bool CAnalysisView::hasValues() const
{
    const std::int64_t n = m_columns * m_rows;
    return n > 0 && m_cells.count() == n && m_cells2.count() == n;
}

bool CAnalysisView::hasBounds() const
{
    return m_columns > 0 && m_lower.count() == m_columns && m_upper.count() == m_columns;
}

double CAnalysisView::cell(std::int64_t column, std::int64_t row) const
{
    if (column < 0 || column >= m_columns || row < 0 || row >= m_rows)
        return 0.0;
    return m_cells.get(column * m_rows + row);
}

void CAnalysisView::setFlatBounds(double lowerRow, double upperRow)
{
    const auto n = static_cast<std::uint32_t>(std::max<std::int64_t>(1, m_columns));
    if (m_rows > 0) {
        lowerRow = std::clamp(lowerRow, 0.0, static_cast<double>(m_rows - 1));
        upperRow = std::clamp(upperRow, 0.0, static_cast<double>(m_rows - 1));
    }
    m_lower.resize(0);
    m_upper.resize(0);
    if (!m_lower.resize(n) || !m_upper.resize(n))
        return;
    for (std::uint32_t c = 0; c < n; ++c) {
        m_lower.set(c, lowerRow);
        m_upper.set(c, upperRow);
    }
}

int CAnalysisView::setBoundsAroundLags(const std::vector<double>& lags, double semitones)
{
    if (m_columns < 1 || lags.size() != static_cast<std::size_t>(m_columns) || !hasBounds())
        return 0;
    const double widen = std::exp2(semitones / 12.0);
    const double lastRow = static_cast<double>(m_rows - 1);
    const double offset = static_cast<double>(m_minLag);
    for (std::int64_t c = 0; c < m_columns; ++c) {
        const double lag = lags[static_cast<std::size_t>(c)];
        if (!(lag > 0.0)) {
            // Lag 0 at both ends: the search has nothing to look at.
            m_lower.set(c, -offset);
            m_upper.set(c, -offset);
            continue;
        }
        m_lower.set(c, std::clamp(std::floor(lag / widen) - offset, 0.0, lastRow));
        m_upper.set(c, std::clamp(std::ceil(lag * widen) - offset, 0.0, lastRow));
    }
    return 1;
}

int CAnalysisView::soundAnalysis(const CSampleBuffer& samples, const CAnalysisHooks& hooks)
{
    hooks.setTitle("Sound Analysis");
    hooks.setStatus("Preparing Analysis...");
    const std::int64_t columns = roundedRatio(samples.count(), static_cast<double>(m_step));
    const std::int64_t rows = m_maxLag - m_minLag + 1;
    hooks.say(sizeLine("View Width Is %d Pixels, Height Is %d Pixels\r\n", columns, rows));

    bool failed = columns < 1 || rows < 1 || columns > kMaxCells / std::max<std::int64_t>(1, rows);
    if (!failed) {
        m_columns = columns;
        m_rows = rows;
        // Curves of another width (an earlier preview) keep their shape.
        if (m_lower.count() != columns || m_upper.count() != columns) {
            if (m_lower.count() == 0 && m_lower.resize(1))
                m_lower.set(0, 0.0);
            if (m_upper.count() == 0 && m_upper.resize(1))
                m_upper.set(0, static_cast<double>(rows - 1));
            failed = !m_lower.resample(static_cast<std::uint32_t>(columns))
                     || !m_upper.resample(static_cast<std::uint32_t>(columns));
        }
        m_lower.clamp(0, m_lower.count(), 0.0, static_cast<double>(rows - 1));
        m_upper.clamp(0, m_upper.count(), 0.0, static_cast<double>(rows - 1));
        const auto cellCount = static_cast<std::uint32_t>(columns * rows);
        m_cells.resize(0);
        m_cells2.resize(0);
        m_picture = QImage();
        if (failed || !m_cells.resize(cellCount) || !m_cells2.resize(cellCount)) {
            failed = true;
        } else {
            std::fill(m_cells.data(), m_cells.data() + cellCount, 1.0);
            std::fill(m_cells2.data(), m_cells2.data() + cellCount, 1.0);
            m_picture = QImage(static_cast<int>(columns), static_cast<int>(rows), QImage::Format_RGB32);
            failed = m_picture.isNull();
        }
    }
    if (failed) {
        m_columns = 0;
        m_rows = 0;
        m_cells.resize(0);
        m_cells2.resize(0);
        hooks.say(columns < 1 ? "*** ERROR: Nothing to analyse\r\n" : "*** ERROR: Not enough memory\r\n");
        hooks.say("Analysis not entirely done, stopped upon user request.\r\n");
        hooks.raiseFailure();
        hooks.setStatus("Done");
        return 0;
    }

    hooks.setStatus("Analyzing Frequencies...");
    // Lags below 2 match trivially; they are marked and never computed.
    const std::int64_t firstLag = std::max<std::int64_t>(m_minLag, 2);
    const std::int64_t base = std::max(m_window, m_maxLag);
    const CLagDifferences lags(samples.data(), samples.count(), m_maxLag);
    std::vector<double> column(static_cast<std::size_t>(rows));
    bool aborted = false;
    for (std::int64_t c = 0; c < columns; ++c) {
        if (!hooks.report(static_cast<double>(c), static_cast<double>(columns - 1))) {
            aborted = true;
            break;
        }
        const std::int64_t start = c * m_step;
        double* out = m_cells.data() + c * rows;
        for (std::int64_t i = m_minLag; i < firstLag && i <= m_maxLag; ++i)
            out[i - m_minLag] = -1.0;
        if (firstLag <= m_maxLag && start <= std::numeric_limits<std::uint32_t>::max())
            lags.compute(static_cast<std::uint32_t>(start), firstLag, m_maxLag, base, out + (firstLag - m_minLag));
    }
    if (!aborted)
        holdLastWholeColumn(samples.count(), base);
    if (!aborted)
        hooks.report(static_cast<double>(columns - 1), static_cast<double>(columns - 1));
    hooks.say(aborted ? "Analysis not entirely done, stopped upon user request.\r\n"
                      : "Analysis successfully done.\r\n");
    hooks.setStatus("Done");
    return aborted ? 0 : 1;
}

// The columns whose window runs past the end compare the recording with
// the silence after it, where the shortest lags always match best: bounds
// drawn or optimised there would lead the analysis to a pitch far above
// anything recorded. They show the last column measured on a whole window.
void CAnalysisView::holdLastWholeColumn(std::uint32_t sampleCount, std::int64_t window)
{
    std::int64_t lastWhole = -1;
    for (std::int64_t c = 0; c < m_columns && c * m_step + window <= std::int64_t(sampleCount); ++c)
        lastWhole = c;
    if (lastWhole < 0)
        return;
    const double* whole = m_cells.data() + lastWhole * m_rows;
    for (std::int64_t c = lastWhole + 1; c < m_columns; ++c)
        std::copy(whole, whole + m_rows, m_cells.data() + c * m_rows);
}

int CAnalysisView::analysisResults(const CAnalysisHooks& hooks)
{
    hooks.setTitle("Analysis Results");
    hooks.setStatus("Normalizing Results...");
    hooks.say(sizeLine("Width Is %d Pixels\r\nHeight Is %d Pixels\r\n", m_columns, m_rows));
    bool aborted = false;
    if (hasValues()) {
        const auto rows = static_cast<std::uint32_t>(m_rows);
        for (std::int64_t c = 0; c < m_columns; ++c) {
            if (!hooks.report(static_cast<double>(c), static_cast<double>(m_columns - 1))) {
                aborted = true;
                break;
            }
            const auto first = static_cast<std::uint32_t>(c * m_rows);
            double* x = m_cells.data() + first;
            // Cells with no measure (the trivial lags, or a signal holding
            // values that are not numbers) take the column's worst match.
            double worst = -std::numeric_limits<double>::infinity();
            for (std::uint32_t r = 0; r < rows; ++r)
                if (std::isfinite(x[r]))
                    worst = std::max(worst, x[r]);
            if (!std::isfinite(worst))
                worst = 0.0;
            for (std::uint32_t r = 0; r < rows; ++r)
                if (!(x[r] >= 0.0) || !std::isfinite(x[r]))
                    x[r] = worst;
            m_cells.normalise(first, rows, 0.0, 1.0);
            m_cells2.normalise(first, rows, 0.0, 1.0);
            const double* y = m_cells2.data() + first;
            for (std::uint32_t r = 0; r < rows; ++r)
                x[r] = (1.0 - x[r]) + y[r];
            m_cells.normalise(first, rows, 0.0, 1.0);
        }
    }
    hooks.say(aborted ? "Results not entirely normalized, stopped upon user request.\r\n"
                      : "Results successfully normalized.\r\n");
    hooks.setStatus("Done");
    return aborted ? 0 : 1;
}

int CAnalysisView::bitmapView(const CAnalysisHooks& hooks)
{
    if (!hasValues())
        return 0;
    hooks.setTitle("Bitmap View");
    hooks.setStatus("Building View...");
    hooks.say(sizeLine("Width Is %d Pixels\r\nHeight Is %d Pixels\r\n", m_columns, m_rows));
    if (m_picture.width() != m_columns || m_picture.height() != m_rows)
        m_picture = QImage(static_cast<int>(m_columns), static_cast<int>(m_rows), QImage::Format_RGB32);
    bool aborted = m_picture.isNull();
    for (std::int64_t c = 0; c < m_columns && !aborted; ++c) {
        if (!hooks.report(static_cast<double>(c), static_cast<double>(m_columns - 1))) {
            aborted = true;
            break;
        }
        const double* x = m_cells.data() + c * m_rows;
        for (std::int64_t r = 0; r < m_rows; ++r)
            m_picture.setPixel(static_cast<int>(c), static_cast<int>(m_rows - 1 - r), m_gradient.colorAt(x[r]));
    }
    hooks.say(aborted ? "View not entirely built, stopped upon user request.\r\n" : "View successfully built.\r\n");
    hooks.setStatus("Done");
    return aborted ? 0 : 1;
}

int CAnalysisView::optimiseMargins(double margin)
{
    if (!hasValues() || !hasBounds())
        return 0;
    const double lastRow = static_cast<double>(m_rows - 1);
    for (std::int64_t c = 0; c < m_columns; ++c) {
        const double lo = m_lower.get(c);
        const double hi = m_upper.get(c);
        const double bottom = std::min(lo, hi);
        double best = (hi + bottom) / 2.0;
        double bestValue = -99999999999.0;
        const auto from = static_cast<std::int64_t>(std::max(0.0, std::trunc(bottom)));
        const auto to = static_cast<std::int64_t>(std::min(lastRow, std::trunc(hi)));
        for (std::int64_t j = from; j <= to; ++j) {
            const double v = cell(c, j);
            if (v > bestValue) { // the first of equal maxima wins
                bestValue = v;
                best = static_cast<double>(j);
            }
        }
        m_lower.set(c, std::max(0.0, best - margin));
        m_upper.set(c, std::min(lastRow, best + margin));
    }
    return 1;
}
