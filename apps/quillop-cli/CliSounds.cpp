#include "CliSounds.h"

#include "CliCommand.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/sounds/CMVT_WavMemory.h"

#include <cstdio>

bool parseSoundArgs(const QStringList& args, bool forMix, CliSoundArgs& out)
{
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--loop")) {
            out.loop = true;
            continue;
        }
        const bool takesValue = arg == QLatin1String("--rate") || arg == QLatin1String("--buffers")
                                || arg == QLatin1String("--length")
                                || (forMix && (arg == QLatin1String("-o") || arg == QLatin1String("--seconds")));
        if (!takesValue) {
            if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
                fail(QStringLiteral("unknown option %1").arg(arg));
                return false;
            }
            positional << arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            fail(QStringLiteral("%1 needs a value").arg(arg));
            return false;
        }
        const QString value = args[++i];
        bool ok = true;
        if (arg == QLatin1String("--rate")) {
            const int rate = value.toInt(&ok);
            if (!ok || !out.settings.setRate(rate)) {
                fail(QStringLiteral("--rate must be 22050, 44100 or 48000, not '%1'").arg(value));
                return false;
            }
        } else if (arg == QLatin1String("--buffers")) {
            if (!out.settings.setBuffersText(value.toStdString())) {
                fail(QStringLiteral("--buffers must be a whole number from %1 to %2, not '%3'")
                         .arg(CAudioSettings::kMinBuffers)
                         .arg(CAudioSettings::kMaxBuffers)
                         .arg(value));
                return false;
            }
        } else if (arg == QLatin1String("--length")) {
            if (!out.settings.setLengthText(value.toStdString())) {
                fail(QStringLiteral("--length must be a whole number of milliseconds from %1 to %2, not '%3'")
                         .arg(CAudioSettings::kMinLengthMs)
                         .arg(CAudioSettings::kMaxLengthMs)
                         .arg(value));
                return false;
            }
        } else if (arg == QLatin1String("-o")) {
            out.output = value;
        } else {
            out.seconds = value.toDouble(&ok);
            // Also refuses NaN and infinities, which no frame count can hold.
            if (!ok || !(out.seconds >= 0.0 && out.seconds <= 86400.0)) {
                fail(QStringLiteral("--seconds must be a number of seconds from 0 to 86400, not '%1'").arg(value));
                return false;
            }
        }
    }
    if (positional.size() < 2) {
        fail(QStringLiteral("a document and at least one sound ID are needed"));
        return false;
    }
    out.document = positional.takeFirst();
    out.ids = positional;
    if (forMix && out.output.isEmpty()) {
        fail(QStringLiteral("-o OUT.wav is needed"));
        return false;
    }
    if (forMix && out.loop && out.seconds < 0.0) {
        fail(QStringLiteral("a looping mix never ends: give its length with --seconds"));
        return false;
    }
    return true;
}

bool loadSounds(const CliSoundArgs& args, CliSoundDocument& out)
{
    out.holder = createDocumentHolder();
    if (!loadDocument(*out.holder, args.document))
        return false;
    for (const QString& id : args.ids) {
        const int row = out.holder->findById(GroupSounds, id.toStdString());
        const auto* item = row < 0 ? nullptr : dynamic_cast<const CMVT_WavMemory*>(out.holder->get(GroupSounds, row));
        if (!item) {
            fail(QStringLiteral("%1: no sound with the ID '%2'").arg(args.document, id));
            return false;
        }
        if (!item->hasData())
            std::fprintf(stderr, "quillop-cli: the sound '%s' is empty\n", qPrintable(id));
        out.items.push_back(item);
    }
    return true;
}
