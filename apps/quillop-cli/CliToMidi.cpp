#include "CliCommand.h"
#include "CliOptions.h"
#include "CliTaskRun.h"

#include "params/CTaskRunner.h"
#include "tools/midi/CMidiSourceFiles.h"

#include <cstdio>

namespace {
const char* const kUsage = "to-midi IN.awa IN.wav OUT.mid [--key value ...]";
const char* const kOptions =
    "--tempo BPM\tbeats per minute (120)\n"
    "--black TICKS\tticks of a black note (96)\n"
    "--note TICKS\tshortest note, in ticks (12)\n"
    "--controllers TICKS\tticks between controller events (2)\n"
    "--bend-range SEMITONES\tpitch bend range (2, 0 for none)\n"
    "--tolerance X\thow far from a note the pitch may wander before a new note starts (0.333)";

const CliOptionTable<CMidiConversionSettings>& options()
{
    using S = CMidiConversionSettings;
    static const CliOptionTable<S> table = {
        {QStringLiteral("--tempo"), numberOption(&S::tempoBpm)},
        {QStringLiteral("--black"), numberOption(&S::blackTicks)},
        {QStringLiteral("--note"), numberOption(&S::noteTicks)},
        {QStringLiteral("--controllers"), numberOption(&S::controllerTicks)},
        {QStringLiteral("--bend-range"), numberOption(&S::bendRange)},
        {QStringLiteral("--tolerance"), numberOption(&S::tolerance)},
    };
    return table;
}

QString usageText()
{
    return usageWithOptions(kUsage, kOptions);
}

int runToMidi(const QStringList& args)
{
    CMidiConversionSettings settings;
    const auto parsed = parseCliOptions(args, [&](const QString& key, const QString& value) {
        return applyTableOption(options(), settings, key, value);
    }, usageText());
    if (!parsed)
        return 1;
    QStringList files = *parsed;
    if (files.size() != 3)
        return fail(usageText());
    // The two inputs are told apart by their extensions when given the other way round.
    if (files[0].endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)
        && files[1].endsWith(QLatin1String(".awa"), Qt::CaseInsensitive))
        files.swapItemsAt(0, 1);

    CMidiSourceFiles sources;
    const int loaded = sources.load(files[0].toLocal8Bit().toStdString(), files[1].toLocal8Bit().toStdString());
    std::printf("%s\n", sources.infoText().c_str());
    if (!loaded || !sources.hasInputs())
        return fail(QStringLiteral("the analysis and the recording must both be read and hold samples"));

    CTaskRunner runner;
    const std::string output = files[2].toLocal8Bit().toStdString();
    const int code = runTaskWithProgress(runner, [&](CTaskRunner& r) {
        return sources.convert(output, settings, r) != 0;
    });
    if (code != 0)
        return code == 130 ? code : fail(QStringLiteral("the conversion was not done"));
    return 0;
}
} // namespace

CliCommand toMidiCommand()
{
    return {"to-midi", kUsage, "converts an analysis and its recording into a MIDI file", runToMidi, kOptions, kStoppableExits};
}
