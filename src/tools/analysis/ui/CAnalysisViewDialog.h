#pragma once

#include "media/audio/CSampleBuffer.h"

#include <QDialog>

class CAnalysisPicture;
class CAnalysisView;
class CZoomView;

// "View/Edit Frequency Analysis Results": the preview picture with its bound
// curves, which the user redraws with the mouse. OK keeps the curves as
// drawn; Cancel puts back those the dialog was opened with.
class CAnalysisViewDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "View/Edit Frequency Analysis Results";

    explicit CAnalysisViewDialog(CAnalysisView& view, QWidget* parent = nullptr);

    CAnalysisPicture* picture() const { return m_picture; }
    // The picture framed by its zoom-and-scroll bars: time across, the
    // frequency rows up and down, each axis zoomed on its own.
    CZoomView* zoomView() const { return m_zoom; }

    void reject() override;

private:
    CAnalysisView& m_view;
    CSampleBuffer m_lowerBefore;
    CSampleBuffer m_upperBefore;
    CAnalysisPicture* m_picture;
    CZoomView* m_zoom;
};
