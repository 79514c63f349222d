#include "CliCommand.h"
#include "CliOptions.h"
#include "CliTaskRun.h"

#include "core/IPrompter.h"
#include "params/CTaskRunner.h"
#include "tools/analysis/CAnalyzeFundamentalEngine.h"

#include <QImage>

#include <cstdio>

namespace {
const char* const kUsage = "analyze IN.wav OUT.awa [--key value ...]";
const char* const kOptions =
    "--smooth N\tsamples averaged before the search (5)\n"
    "--pre-rate HZ\trate the recording is brought to before the search (6000)\n"
    "--width PX\twidth of the preview picture (640)\n"
    "--height PX\theight of the preview picture (200)\n"
    "--margins ROWS\trows kept around the curve in the preview (3)\n"
    "--extra N\textra range searched around the bounds, in percent (50)\n"
    "--rate HZ\trate of the analysis (44100)\n"
    "--bounds WHICH\testimate: bounds tracked from the recording (the default); preview: the preview's "
    "margins optimised; LOW_HZ:HIGH_HZ: search between two frequencies\n"
    "--preview OUT.png\talso writes the preview picture\n"
    "--threads N\tprocessors used (all)";

const CliOptionTable<CAnalysisSettings>& options()
{
    using S = CAnalysisSettings;
    static const CliOptionTable<S> table = {
        {QStringLiteral("--smooth"), numberOption(&S::preSmooth)},
        {QStringLiteral("--pre-rate"), numberOption(&S::preRate)},
        {QStringLiteral("--width"), numberOption(&S::previewWidth)},
        {QStringLiteral("--height"), numberOption(&S::previewHeight)},
        {QStringLiteral("--margins"), numberOption(&S::margins)},
        {QStringLiteral("--extra"), numberOption(&S::extraRange)},
        {QStringLiteral("--rate"), numberOption(&S::analysisRate)},
    };
    return table;
}

QString usageText()
{
    return usageWithOptions(kUsage, kOptions);
}

enum class BoundsChoice { Estimate, Preview, Frequencies };

// "estimate", "preview", or "LOW:HIGH" in hertz, both above 0.
bool parseBounds(const QString& text, BoundsChoice& choice, double& lowHz, double& highHz)
{
    if (text == QLatin1String("estimate") || text == QLatin1String("preview")) {
        choice = text == QLatin1String("estimate") ? BoundsChoice::Estimate : BoundsChoice::Preview;
        return true;
    }
    choice = BoundsChoice::Frequencies;
    const QStringList parts = text.split(QLatin1Char(':'));
    bool okLow = false, okHigh = false;
    if (parts.size() == 2) {
        lowHz = parts[0].toDouble(&okLow);
        highHz = parts[1].toDouble(&okHigh);
    }
    return okLow && okHigh && lowHz > 0.0 && highHz > 0.0;
}

// The preview picture with the bound curves over it: the lower one green,
// the upper one red, rows counted from the bottom as the picture is drawn.
QImage previewWithBounds(const CAnalysisView& view)
{
    QImage picture = view.picture().convertToFormat(QImage::Format_RGB32);
    const auto mark = [&](const CSampleBuffer& curve, QRgb color) {
        for (std::int64_t c = 0; c < view.columns() && c < picture.width(); ++c) {
            const auto row = static_cast<std::int64_t>(curve.get(c) + 0.5);
            const std::int64_t y = view.rows() - 1 - row;
            if (y >= 0 && y < picture.height())
                picture.setPixel(static_cast<int>(c), static_cast<int>(y), color);
        }
    };
    mark(view.lower(), qRgb(0, 255, 0));
    mark(view.upper(), qRgb(255, 0, 0));
    return picture;
}

int runAnalyze(const QStringList& args)
{
    CAnalyzeFundamentalEngine engine;
    CAnalysisSettings& settings = engine.settings();
    QString previewPath;
    BoundsChoice bounds = BoundsChoice::Estimate;
    double lowHz = 0.0;
    double highHz = 0.0;
    int threads = 0;
    const auto parsed = parseCliOptions(args, [&](const QString& key, const QString& value) {
        bool ok = true;
        if (key == QLatin1String("--preview"))
            previewPath = value;
        else if (key == QLatin1String("--threads"))
            threads = value.toInt(&ok);
        else if (key == QLatin1String("--bounds"))
            ok = parseBounds(value, bounds, lowHz, highHz);
        else
            return applyTableOption(options(), settings, key, value);
        return ok ? CliOption::Taken : CliOption::BadValue;
    }, usageText());
    if (!parsed)
        return 1;
    const QStringList& files = *parsed;
    if (files.size() != 2)
        return fail(usageText());
    settings.inputPath = files[0].toLocal8Bit().toStdString();
    settings.outputPath = files[1].toLocal8Bit().toStdString();
    engine.setPrompter(&consolePrompter());

    if (!engine.loadSource())
        return fail(QStringLiteral("%1: %2").arg(files[0], QString::fromStdString(engine.infoText())));
    std::printf("%s\n", engine.infoText().c_str());

    // The path a user clicks through: the preview, the bounds (estimated from
    // the recording, optimised on the preview, or the frequencies asked
    // for), then the analysis.
    CTaskRunner runner;
    const int code = runTaskWithProgress(runner, [&](CTaskRunner& r) {
        const CAnalysisHooks hooks = CAnalysisHooks::forRunner(r);
        if (!engine.preparePreview())
            return false;
        const bool previewed = engine.view().soundAnalysis(engine.previewSamples(), hooks)
                               && engine.view().analysisResults(hooks) && engine.view().bitmapView(hooks);
        engine.finishPreview();
        if (!previewed)
            return false;
        if (bounds == BoundsChoice::Frequencies)
            engine.setBoundsFromFrequencies(lowHz, highHz);
        else if (bounds == BoundsChoice::Preview)
            engine.optimiseMargins();
        else if (!engine.estimateBounds(hooks))
            return false;
        if (!previewPath.isEmpty() && !previewWithBounds(engine.view()).save(previewPath)) {
            r.log().append("*** ERROR: The preview picture could not be written\r\n");
            return false;
        }
        r.restartTiming();
        return engine.analyse(hooks, threads) != 0;
    });
    if (code != 0)
        return code == 130 ? code : fail(QStringLiteral("the analysis was not done"));
    std::printf("%s: %zu periods at %lld Hz\n", qPrintable(files[1]), engine.periods().size(),
                static_cast<long long>(settings.clamped().analysisRate));
    return 0;
}
} // namespace

CliCommand analyzeCommand()
{
    return {"analyze", kUsage, "finds the fundamental period of every sample of a WAV file (.awa)", runAnalyze, kOptions, kStoppableExits};
}
