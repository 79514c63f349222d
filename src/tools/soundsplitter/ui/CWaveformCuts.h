#pragma once

#include "tools/soundsplitter/CSilenceSplitter.h"

#include <QWidget>

#include <vector>

// The loudness of a whole recording, one bar per column, with the sounds
// the splitter found shaded and their cuts marked.
class CWaveformCuts : public QWidget {
    Q_OBJECT
public:
    explicit CWaveformCuts(QWidget* parent = nullptr);

    // Peaks per 10 ms window of the recording (largest |sample| of any channel).
    void setSound(const CSoundSet* sound);
    void setSegments(const std::vector<CSilenceSplitter::Segment>& segments, double thresholdDb);
    QSize sizeHint() const override { return {600, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<float> m_peaks;
    std::uint32_t m_window = 1;
    std::vector<CSilenceSplitter::Segment> m_segments;
    double m_threshold = 0.0;
};
