#include "CliCommand.h"
#include "CliTaskRun.h"

#include "params/CTaskRunner.h"
#include "tools/midi/CMidiSourceFiles.h"

#include <cstdio>
#include <functional>
#include <map>

namespace {
const char* const kUsage = "to-midi IN.awa IN.wav OUT.mid [--key value ...]";

using Setter = std::function<bool(CMidiConversionSettings&, const QString&)>;

Setter integer(std::int64_t CMidiConversionSettings::*field)
{
    return [field](CMidiConversionSettings& s, const QString& text) {
        bool ok = false;
        s.*field = text.toLongLong(&ok);
        return ok;
    };
}

Setter real(double CMidiConversionSettings::*field)
{
    return [field](CMidiConversionSettings& s, const QString& text) {
        bool ok = false;
        s.*field = text.toDouble(&ok);
        return ok;
    };
}

const std::map<QString, Setter>& options()
{
    static const std::map<QString, Setter> table = {
        {QStringLiteral("--tempo"), real(&CMidiConversionSettings::tempoBpm)},
        {QStringLiteral("--black"), integer(&CMidiConversionSettings::blackTicks)},
        {QStringLiteral("--note"), integer(&CMidiConversionSettings::noteTicks)},
        {QStringLiteral("--controllers"), integer(&CMidiConversionSettings::controllerTicks)},
        {QStringLiteral("--bend-range"), real(&CMidiConversionSettings::bendRange)},
        {QStringLiteral("--tolerance"), real(&CMidiConversionSettings::tolerance)},
    };
    return table;
}

int usage()
{
    return fail(QStringLiteral("usage: %1\n  options: --tempo BPM (120), --black TICKS (96), --note TICKS (12),"
                               " --controllers TICKS (2), --bend-range SEMITONES (2, 0 for none),"
                               " --tolerance X (0.333)")
                    .arg(QLatin1String(kUsage)));
}

int runToMidi(const QStringList& args)
{
    CMidiConversionSettings settings;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            files << arg;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = args[++i];
        const auto option = options().find(arg);
        if (option == options().end())
            return usage();
        if (!option->second(settings, value))
            return fail(QStringLiteral("%1: '%2' is not a number").arg(arg, value));
    }
    if (files.size() != 3)
        return usage();
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
    return {"to-midi", kUsage, "converts an analysis and its recording into a MIDI file", runToMidi};
}
