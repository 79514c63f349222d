#include "CliCommand.h"

#include "tools/bassdrum/CBassDrumEngine.h"
#include "tools/bassdrum/CBassDrumSynth.h"

#include <cstdio>
#include <functional>
#include <map>

namespace {
const char* const kUsage = "bass-drum OUT.wav [--key value ...]";

// Each option sets one value of the parameter sheet; the rest keep the sheet's defaults.
using Setter = std::function<bool(CBassDrumParameters&, const QString&)>;

Setter integer(int CBassDrumParameters::*field)
{
    return [field](CBassDrumParameters& p, const QString& text) {
        bool ok = false;
        p.*field = text.toInt(&ok);
        return ok;
    };
}

Setter real(double CBassDrumParameters::*field)
{
    return [field](CBassDrumParameters& p, const QString& text) {
        bool ok = false;
        p.*field = text.toDouble(&ok);
        return ok;
    };
}

const std::map<QString, Setter>& options()
{
    static const std::map<QString, Setter> table = {
        {QStringLiteral("--bits"), integer(&CBassDrumParameters::bitsPerSample)},
        {QStringLiteral("--rate"), integer(&CBassDrumParameters::sampleRate)},
        {QStringLiteral("--start"), real(&CBassDrumParameters::startFrequency)},
        {QStringLiteral("--end"), real(&CBassDrumParameters::endFrequency)},
        {QStringLiteral("--deceleration"), real(&CBassDrumParameters::deceleration)},
        {QStringLiteral("--initial-speed"), real(&CBassDrumParameters::initialSpeed)},
        {QStringLiteral("--levels"), integer(&CBassDrumParameters::decelerationLevels)},
        {QStringLiteral("--width"), integer(&CBassDrumParameters::previewWidth)},
        {QStringLiteral("--height"), integer(&CBassDrumParameters::previewHeight)},
    };
    return table;
}

int usage()
{
    return fail(QStringLiteral("usage: %1\n  options: --bits 8|16|32|64 (16), --rate HZ (44100), --start HZ (16000),"
                               " --end HZ (20), --deceleration SAMPLES (1.0), --initial-speed (0),"
                               " --levels (1), --width PX (1000), --height PX (100), --preview OUT.png")
                    .arg(QLatin1String(kUsage)));
}

int runBassDrum(const QStringList& args)
{
    CBassDrumParameters parameters;
    QString output;
    QString previewPath;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            if (!output.isEmpty())
                return usage();
            output = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = args[++i];
        if (arg == QLatin1String("--preview")) {
            previewPath = value;
            continue;
        }
        const auto option = options().find(arg);
        if (option == options().end())
            return usage();
        if (!option->second(parameters, value))
            return fail(QStringLiteral("%1: '%2' is not a number").arg(arg, value));
    }
    if (output.isEmpty())
        return usage();

    CBassDrumEngine engine;
    if (!engine.setParameters(parameters))
        return fail(QStringLiteral("the sound cannot be rendered: the deceleration must be above 0 and the "
                                   "frequencies above 0, and the sound may last at most %1 samples")
                        .arg(CBassDrumSynth::kMaxSamples));
    if (engine.sound().count() == 0)
        return fail(QStringLiteral("the starting frequency must be above the ending frequency (the sound is empty)"));
    if (!engine.save(output.toLocal8Bit().toStdString()))
        return fail(QStringLiteral("%1: could not be written (bits must be 8, 16, 32 or 64)").arg(output));
    if (!previewPath.isEmpty() && !engine.preview().save(previewPath))
        return fail(QStringLiteral("%1: the preview picture could not be written").arg(previewPath));
    std::printf("%s: %u samples, %d bits, %d Hz, %.3f s\n", qPrintable(output), engine.sound().count(),
                parameters.bitsPerSample, parameters.sampleRate,
                static_cast<double>(engine.sound().count()) / parameters.sampleRate);
    return 0;
}
} // namespace

CliCommand bassDrumCommand()
{
    return {"bass-drum", kUsage, "synthesises a bass drum into a WAV file", runBassDrum};
}
