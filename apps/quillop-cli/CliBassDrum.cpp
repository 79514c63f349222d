#include "CliCommand.h"
#include "CliOptions.h"

#include "tools/bassdrum/CBassDrumEngine.h"
#include "tools/bassdrum/CBassDrumSynth.h"

#include <cstdio>

namespace {
const char* const kUsage = "bass-drum OUT.wav [--key value ...]";
const char* const kOptions =
    "--bits 8|16|32|64\tbits per sample (16)\n"
    "--rate HZ\tsamples per second (44100)\n"
    "--start HZ\tfrequency the drum starts at (16000)\n"
    "--end HZ\tfrequency it falls to (20)\n"
    "--deceleration SAMPLES\thow slowly the frequency falls (1.0)\n"
    "--initial-speed N\tspeed of the first fall (0)\n"
    "--levels N\tsteps of deceleration (1)\n"
    "--width PX\twidth of the preview picture (1000)\n"
    "--height PX\theight of the preview picture (100)\n"
    "--preview OUT.png\talso writes the preview picture";

// Each option sets one value of the parameter sheet; the rest keep the sheet's defaults.
const CliOptionTable<CBassDrumParameters>& options()
{
    using P = CBassDrumParameters;
    static const CliOptionTable<P> table = {
        {QStringLiteral("--bits"), numberOption(&P::bitsPerSample)},
        {QStringLiteral("--rate"), numberOption(&P::sampleRate)},
        {QStringLiteral("--start"), numberOption(&P::startFrequency)},
        {QStringLiteral("--end"), numberOption(&P::endFrequency)},
        {QStringLiteral("--deceleration"), numberOption(&P::deceleration)},
        {QStringLiteral("--initial-speed"), numberOption(&P::initialSpeed)},
        {QStringLiteral("--levels"), numberOption(&P::decelerationLevels)},
        {QStringLiteral("--width"), numberOption(&P::previewWidth)},
        {QStringLiteral("--height"), numberOption(&P::previewHeight)},
    };
    return table;
}

QString usageText()
{
    return usageWithOptions(kUsage, kOptions);
}

int runBassDrum(const QStringList& args)
{
    CBassDrumParameters parameters;
    QString previewPath;
    const auto files = parseCliOptions(args, [&](const QString& key, const QString& value) {
        if (key == QLatin1String("--preview")) {
            previewPath = value;
            return CliOption::Taken;
        }
        return applyTableOption(options(), parameters, key, value);
    }, usageText());
    if (!files)
        return 1;
    if (files->size() != 1)
        return fail(usageText());
    const QString output = files->first();

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
    return {"bass-drum", kUsage, "synthesises a bass drum into a WAV file", runBassDrum, kOptions};
}
