#pragma once

#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParamTitle.h"
#include "params/ui/CMVT_ParametersDocument.h"
#include "tools/analysis/CAnalyzeFundamentalEngine.h"

class CProgressWindow;

// The "Analyze Fundamental" tool window: loads a recording, previews how
// well it matches itself at each lag, lets the user draw or optimise the
// bounds of the search on that picture, and writes the period of every
// sample to an analysis file. The long steps run in progress windows.
class CDocAnalyzeFundamental : public CMVT_ParametersDocument {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Analyze Fundamental";

    explicit CDocAnalyzeFundamental(QWidget* parent = nullptr);
    ~CDocAnalyzeFundamental() override;

    std::string toolTitle() const override { return kTitle; }
    void buildSheet() override;
    void factoryReset() override;
    void itemNotification(CMVT_Parameter* item) override;

    // What the buttons do.
    void loadSource();
    // The three preview tasks, then the view dialog. 1 when previewed.
    int previewAnalysis();
    void editAnalysis();
    void editGradientColors();
    void optimiseMargins();
    // Bounds tracked from the recording itself, under the view's progress
    // window. 1 when done.
    int estimateBounds();
    // 1 when the analysis file was written.
    int runAnalysis();

    CAnalyzeFundamentalEngine& engine() { return m_engine; }
    CProgressWindow& viewProgress() const { return *m_viewProgress; }
    CProgressWindow& analysisProgress() const { return *m_analysisProgress; }

    CMVT_ParamTitle heading, source, analysis, conversions, previewTitle, analysisTitle, destination;
    CMVT_ParamFilename input;
    CMVT_ParamInfo info;
    CMVT_ParamButton load;
    CMVT_ParamInteger smooth, preRate, width, height;
    CMVT_ParamButton gradient, preview, edit;
    CMVT_ParamInteger margins;
    CMVT_ParamButton optimise, estimate;
    CMVT_ParamInteger extra, rate;
    CMVT_ParamFilename output;
    CMVT_ParamButton analyse;

private:
    // The sheet's values into the engine's settings.
    void readSettings();
    // The picture built again with the current colours.
    void rebuildPicture();

    CAnalyzeFundamentalEngine m_engine;
    CProgressWindow* m_viewProgress;
    CProgressWindow* m_analysisProgress;
};
