#include "tools/analysis/ui/CDocAnalyzeFundamental.h"

#include "params/ui/CProgressWindow.h"
#include "core/IPrompter.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CUiServices.h"
#include "params/ui/WaitCursor.h"
#include "tools/analysis/CAwaFile.h"
#include "tools/analysis/ui/CAnalysisViewDialog.h"
#include "tools/analysis/ui/CGradientColorEditor.h"


#include <atomic>

namespace {
void bounded(CMVT_ParamInteger& item, std::int64_t minimum, std::int64_t maximum)
{
    item.setMinimum(minimum);
    item.setMaximum(maximum);
}
} // namespace

CDocAnalyzeFundamental::CDocAnalyzeFundamental(QWidget* parent)
    : CMVT_ParametersDocument(parent),
      m_viewProgress(new CProgressWindow(this)),
      m_analysisProgress(new CProgressWindow(this))
{
    setName("No Name");
}

CDocAnalyzeFundamental::~CDocAnalyzeFundamental() = default;

void CDocAnalyzeFundamental::buildSheet()
{
    place(heading, 0, "", "Analyze Fundamental Frequency");
    place(source, 1, "", "Source");
    input.setMode(0);
    input.setFilter(CMVT_ParamFilename::kDefaultFilter);
    place(input, 2, "input", "Input &Sample Filename");
    place(info, 2, "", CAnalyzeFundamentalEngine::kNoSampleText);
    place(load, 2, "", "&Load Wav Source");
    place(analysis, 1, "", "Analysis");
    place(conversions, 2, "", "Pre-Analysis Conversions");
    bounded(smooth, 0, 500000);
    place(smooth, 3, "smooth", "Pre-Analysis Sample S&mooth");
    bounded(preRate, 4, 500000);
    place(preRate, 3, "preRate", "Pre-Analysis Resampling &Frequency");
    place(previewTitle, 2, "", "Analysis Preview");
    bounded(width, 32, 4096);
    place(width, 3, "width", "Preview Display &Width In Pixels");
    bounded(height, 32, 4096);
    place(height, 3, "height", "Preview Display &Height In Pixels");
    place(gradient, 3, "", "&Edit Gradient Colors...");
    place(preview, 3, "", "&Do Analysis Preview");
    place(edit, 3, "", "&Edit Analysis");
    bounded(margins, 0, 4096);
    place(margins, 3, "margins", "Optimized Analysis Mar&gins");
    place(optimise, 3, "", "&Optimize Analysis Margins");
    place(estimate, 3, "", "Estimate &Bounds");
    place(analysisTitle, 2, "", "Analysis");
    bounded(extra, 0, 500000);
    place(extra, 3, "extra", "E&xtra Analysis Range, Also Used For Preview");
    bounded(rate, 4, 500000);
    place(rate, 3, "rate", "Analysis Resampling &Frequency");
    place(destination, 1, "", "Destination");
    output.setMode(1);
    output.setFilter(CAwaFile::kFilter);
    place(output, 2, "output", "Output Anal&ysis Filename");
    place(analyse, 1, "", "Do &Analysis");
}

void CDocAnalyzeFundamental::factoryReset()
{
    const CAnalysisSettings defaults;
    smooth.setValue(defaults.preSmooth);
    preRate.setValue(defaults.preRate);
    width.setValue(defaults.previewWidth);
    height.setValue(defaults.previewHeight);
    margins.setValue(defaults.margins);
    extra.setValue(defaults.extraRange);
    rate.setValue(defaults.analysisRate);
    for (CMVT_ParamFilename* file : {&input, &output}) {
        file->setPath("");
        file->refresh();
    }
}

void CDocAnalyzeFundamental::readSettings()
{
    CAnalysisSettings& s = m_engine.settings();
    s.inputPath = input.path();
    s.preSmooth = smooth.value();
    s.preRate = preRate.value();
    s.previewWidth = width.value();
    s.previewHeight = height.value();
    s.margins = margins.value();
    s.extraRange = extra.value();
    s.analysisRate = rate.value();
    s.outputPath = output.path();
}

void CDocAnalyzeFundamental::itemNotification(CMVT_Parameter* item)
{
    if (item == &load)
        loadSource();
    else if (item == &preview)
        previewAnalysis();
    else if (item == &edit)
        editAnalysis();
    else if (item == &gradient)
        editGradientColors();
    else if (item == &optimise)
        optimiseMargins();
    else if (item == &estimate)
        estimateBounds();
    else if (item == &analyse)
        runAnalysis();
}

void CDocAnalyzeFundamental::loadSource()
{
    readSettings();
    info.setText(m_engine.loadingText());
    sheet()->repaint();
    {
        WaitCursor wait;
        m_engine.loadSource();
    }
    info.setText(m_engine.infoText());
}

int CDocAnalyzeFundamental::previewAnalysis()
{
    readSettings();
    m_engine.setPrompter(&CUiServices::prompter());
    const int prepared = m_engine.preparePreview();
    m_engine.setPrompter(nullptr);
    if (!prepared)
        return 0;
    CAnalysisView& view = m_engine.view();
    const CSampleBuffer& samples = m_engine.previewSamples();
    const int done = runTask(*m_viewProgress, [&view, &samples](CTaskRunner& runner) {
        const CAnalysisHooks hooks = CAnalysisHooks::forRunner(runner);
        if (view.soundAnalysis(samples, hooks) && view.analysisResults(hooks))
            view.bitmapView(hooks);
    });
    m_engine.finishPreview();
    if (!done)
        return 0;
    editAnalysis();
    return 1;
}

void CDocAnalyzeFundamental::editAnalysis()
{
    CAnalysisViewDialog dialog(m_engine.view(), this);
    dialog.exec();
}

void CDocAnalyzeFundamental::rebuildPicture()
{
    CAnalysisView& view = m_engine.view();
    if (!view.hasValues())
        return;
    runTask(*m_viewProgress, [&view](CTaskRunner& runner) { view.bitmapView(CAnalysisHooks::forRunner(runner)); });
}

void CDocAnalyzeFundamental::editGradientColors()
{
    CGradientColorEditor editor(m_engine.view().gradient(), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    m_engine.view().setGradient(editor.map());
    rebuildPicture();
}

void CDocAnalyzeFundamental::optimiseMargins()
{
    readSettings();
    WaitCursor wait;
    m_engine.optimiseMargins();
}

int CDocAnalyzeFundamental::estimateBounds()
{
    readSettings();
    if (!m_engine.view().hasBounds())
        return 0;
    CAnalyzeFundamentalEngine& engine = m_engine;
    std::atomic<int> done{0};
    runTask(*m_viewProgress, [&engine, &done](CTaskRunner& runner) {
        runner.setTaskTitle("Estimate Bounds");
        runner.setStatusLine("Tracking The Fundamental...");
        done = engine.estimateBounds(CAnalysisHooks::forRunner(runner));
        runner.log().append(done ? "Bounds estimated.\r\n" : "Bounds not estimated, stopped upon user request.\r\n");
        runner.setStatusLine("Done");
    });
    return done;
}

int CDocAnalyzeFundamental::runAnalysis()
{
    readSettings();
    if (m_engine.settings().outputPath.empty()) {
        CUiServices::prompter().tell(CAnalyzeFundamentalEngine::kNoDestinationMessage, IPrompter::Icon::Exclamation);
        return 0;
    }
    if (!m_engine.hasSource()) {
        CUiServices::prompter().tell(CAnalyzeFundamentalEngine::kNoSourceMessage, IPrompter::Icon::Exclamation);
        return 0;
    }
    CAnalyzeFundamentalEngine& engine = m_engine;
    std::atomic<int> written{0};
    runTask(*m_analysisProgress, [&engine, &written](CTaskRunner& runner) {
        written = engine.analyse(CAnalysisHooks::forRunner(runner));
    });
    output.refresh();
    return written;
}
