#include "CliCommand.h"
#include "CliTaskRun.h"

#include "core/IPrompter.h"
#include "params/CTaskRunner.h"
#include "tools/analysis/CAnalyzeFundamentalEngine.h"

#include <QImage>

#include <cstdio>
#include <functional>
#include <map>

namespace {
const char* const kUsage = "analyze IN.wav OUT.awa [--key value ...]";

using Setter = std::function<bool(CAnalysisSettings&, const QString&)>;

Setter integer(std::int64_t CAnalysisSettings::*field)
{
    return [field](CAnalysisSettings& s, const QString& text) {
        bool ok = false;
        s.*field = text.toLongLong(&ok);
        return ok;
    };
}

const std::map<QString, Setter>& options()
{
    static const std::map<QString, Setter> table = {
        {QStringLiteral("--smooth"), integer(&CAnalysisSettings::preSmooth)},
        {QStringLiteral("--pre-rate"), integer(&CAnalysisSettings::preRate)},
        {QStringLiteral("--width"), integer(&CAnalysisSettings::previewWidth)},
        {QStringLiteral("--height"), integer(&CAnalysisSettings::previewHeight)},
        {QStringLiteral("--margins"), integer(&CAnalysisSettings::margins)},
        {QStringLiteral("--extra"), integer(&CAnalysisSettings::extraRange)},
        {QStringLiteral("--rate"), integer(&CAnalysisSettings::analysisRate)},
    };
    return table;
}

int usage()
{
    return fail(QStringLiteral("usage: %1\n  options: --smooth N (5), --pre-rate HZ (6000), --width PX (640),"
                               " --height PX (200), --margins ROWS (3), --extra N (50), --rate HZ (44100),"
                               " --bounds LOW_HZ:HIGH_HZ (search between these instead of optimising the"
                               " preview's margins), --preview OUT.png, --threads N (all processors)")
                    .arg(QLatin1String(kUsage)));
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
    QStringList files;
    QString previewPath;
    double lowHz = 0.0;
    double highHz = 0.0;
    int threads = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            files << arg;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = args[++i];
        bool ok = true;
        if (arg == QLatin1String("--preview")) {
            previewPath = value;
        } else if (arg == QLatin1String("--threads")) {
            threads = value.toInt(&ok);
        } else if (arg == QLatin1String("--bounds")) {
            const QStringList parts = value.split(QLatin1Char(':'));
            bool okHigh = false;
            ok = parts.size() == 2;
            if (ok) {
                lowHz = parts[0].toDouble(&ok);
                highHz = parts[1].toDouble(&okHigh);
            }
            ok = ok && okHigh && lowHz > 0.0 && highHz > 0.0;
        } else {
            const auto option = options().find(arg);
            if (option == options().end())
                return usage();
            ok = option->second(settings, value);
        }
        if (!ok)
            return fail(QStringLiteral("%1: '%2' is not a valid value").arg(arg, value));
    }
    if (files.size() != 2)
        return usage();
    settings.inputPath = files[0].toLocal8Bit().toStdString();
    settings.outputPath = files[1].toLocal8Bit().toStdString();
    engine.setPrompter(&consolePrompter());

    if (!engine.loadSource())
        return fail(QStringLiteral("%1: %2").arg(files[0], QString::fromStdString(engine.infoText())));
    std::printf("%s\n", engine.infoText().c_str());

    // The path a user clicks through: the preview, the bounds (optimised on
    // it, or the frequencies asked for), then the analysis.
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
        if (lowHz > 0.0)
            engine.setBoundsFromFrequencies(lowHz, highHz);
        else
            engine.optimiseMargins();
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
    return {"analyze", kUsage, "finds the fundamental period of every sample of a WAV file (.awa)", runAnalyze};
}
