#include "CliCommand.h"
#include "CliOptions.h"

#include "media/audio/CSoundSet.h"
#include "tools/soundsplitter/CSilenceSplitter.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
const char* const kUsage = "split-sounds IN.wav OUTDIR [--threshold DB] [--min-silence MS] [--min-sound MS]";
const char* const kOptions = "--threshold DB\tlevel below which a stretch is silence, in dB of full scale (-40)\n"
                             "--min-silence MS\tshortest silence that cuts (300)\n"
                             "--min-sound MS\tshortest sound kept (50)";

const CliOptionTable<CSilenceSplitter::Settings>& options()
{
    using S = CSilenceSplitter::Settings;
    static const CliOptionTable<S> table = {
        {QStringLiteral("--threshold"), numberOption(&S::thresholdDb)},
        {QStringLiteral("--min-silence"), numberOption(&S::minSilenceMs)},
        {QStringLiteral("--min-sound"), numberOption(&S::minSoundMs)},
    };
    return table;
}

int runSplitSounds(const QStringList& args)
{
    CSilenceSplitter::Settings settings;
    const QString usage = usageWithOptions(kUsage, kOptions);
    const auto files = parseCliOptions(args, [&](const QString& key, const QString& value) {
        return applyTableOption(options(), settings, key, value);
    }, usage);
    if (!files)
        return 1;
    if (files->size() != 2 || settings.minSilenceMs < 0 || settings.minSoundMs < 0)
        return fail(usage);
    CSoundSet sound;
    if (!sound.loadWav(files->at(0).toLocal8Bit().toStdString()))
        return fail(QStringLiteral("%1: not a readable WAV file").arg(files->at(0)));
    if (!QDir().mkpath(files->at(1)))
        return fail(QStringLiteral("%1: the folder could not be made").arg(files->at(1)));
    const auto segments = CSilenceSplitter::split(sound, settings);
    std::string failed;
    const int written = CSilenceSplitter::writeWavFiles(sound, segments, files->at(1).toLocal8Bit().toStdString(),
                                                        QFileInfo(files->at(0)).completeBaseName().toStdString(),
                                                        &failed);
    for (int i = 0; i < written; ++i)
        std::printf("%s  %.3f s  %.3f s\n",
                    CSilenceSplitter::numberedName(QFileInfo(files->at(0)).completeBaseName().toStdString(), i + 1)
                        .c_str(),
                    segments[std::size_t(i)].first / sound.sampleRate(),
                    segments[std::size_t(i)].count / sound.sampleRate());
    if (written < int(segments.size()))
        return fail(QStringLiteral("%1: exists already or could not be written; nothing is overwritten")
                        .arg(QString::fromStdString(failed)));
    std::printf("%d sounds\n", written);
    return 0;
}
} // namespace

CliCommand splitSoundsCommand()
{
    return {"split-sounds", kUsage, "cuts a recording at its silences into numbered WAV files", runSplitSounds, kOptions};
}
