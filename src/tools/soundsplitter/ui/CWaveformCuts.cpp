#include "tools/soundsplitter/ui/CWaveformCuts.h"

#include "media/audio/CSoundSet.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

CWaveformCuts::CWaveformCuts(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(100);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void CWaveformCuts::setSound(const CSoundSet* sound)
{
    m_peaks.clear();
    m_segments.clear();
    if (sound && sound->channels() > 0) {
        m_window = std::max<std::uint32_t>(1, std::uint32_t(sound->sampleRate() / CSilenceSplitter::kWindowsPerSecond));
        const std::uint32_t frames = sound->largestFrameCount(0, sound->channels());
        m_peaks.assign((frames + m_window - 1) / m_window, 0.0f);
        for (int c = 0; c < sound->channels(); ++c) {
            const CSampleBuffer& b = *sound->channel(c);
            for (std::uint32_t f = 0; f < b.count(); ++f)
                m_peaks[f / m_window] = std::max(m_peaks[f / m_window], float(std::fabs(b.data()[f])));
        }
    }
    update();
}

void CWaveformCuts::setSegments(const std::vector<CSilenceSplitter::Segment>& segments, double thresholdDb)
{
    m_segments = segments;
    m_threshold = std::pow(10.0, thresholdDb / 20.0);
    update();
}

void CWaveformCuts::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(24, 24, 32));
    if (m_peaks.empty()) {
        painter.setPen(Qt::lightGray);
        painter.drawText(rect(), Qt::AlignCenter, tr("No recording loaded"));
        return;
    }
    const double windowsPerPixel = double(m_peaks.size()) / std::max(1, width());
    const double mid = height() / 2.0;
    const auto xOf = [&](std::uint32_t frame) { return int(frame / double(m_window) / windowsPerPixel); };
    for (const auto& s : m_segments) {
        const int left = xOf(s.first), right = std::max(left + 1, xOf(s.first + s.count));
        painter.fillRect(QRect(left, 0, right - left, height()), QColor(40, 90, 60));
    }
    painter.setPen(QColor(120, 200, 255));
    for (int x = 0; x < width(); ++x) {
        const std::size_t from = std::size_t(x * windowsPerPixel);
        const std::size_t to = std::min(m_peaks.size(), std::max(from + 1, std::size_t((x + 1) * windowsPerPixel)));
        float peak = 0.0f;
        for (std::size_t w = from; w < to; ++w)
            peak = std::max(peak, m_peaks[w]);
        const int h = int(std::min(1.0f, peak) * (mid - 2));
        painter.drawLine(x, int(mid) - h, x, int(mid) + h);
    }
    // The threshold, and a cut line at each end of every sound.
    painter.setPen(QPen(QColor(255, 200, 0), 1, Qt::DashLine));
    const int t = int(std::min(1.0, m_threshold) * (mid - 2));
    painter.drawLine(0, int(mid) - t, width(), int(mid) - t);
    painter.drawLine(0, int(mid) + t, width(), int(mid) + t);
    painter.setPen(QPen(QColor(255, 80, 80), 1));
    for (const auto& s : m_segments) {
        painter.drawLine(xOf(s.first), 0, xOf(s.first), height());
        painter.drawLine(xOf(s.first + s.count), 0, xOf(s.first + s.count), height());
    }
}
