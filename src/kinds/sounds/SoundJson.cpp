#include "kinds/sounds/SoundJson.h"

#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/audio/CSampleBuffer.h"
#include "media/audio/CWavWriter.h"

#include <QCryptographicHash>

void SoundJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& sound = static_cast<const CMVT_WavMemory&>(item);
    const QByteArray& data = sound.isOgg() ? sound.oggFile() : sound.samples();
    fields[QStringLiteral("ogg")] = sound.isOgg();
    fields[QStringLiteral("frames")] = sound.frames();
    fields[QStringLiteral("bits")] = sound.bits();
    fields[QStringLiteral("channels")] = sound.channels();
    fields[QStringLiteral("sampleRate")] = sound.sampleRate();
    fields[QStringLiteral("size")] = static_cast<qint64>(data.size());
    fields[QStringLiteral("sha1")] = QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
    fields[QStringLiteral("specs")] = fromBytes(sound.specsText());
    // The record's own format fields stay as stored for a compressed sound;
    // what it plays as comes from its stream headers.
    if (sound.isOgg()) {
        fields[QStringLiteral("streamChannels")] = sound.oggInfo().channels;
        fields[QStringLiteral("streamRate")] = sound.oggInfo().rate;
    }
}

int SoundJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const
{
    const QString name = fields[QStringLiteral("file")].toString();
    if (name.isEmpty()) {
        error = QStringLiteral("a sound needs \"file\"");
        return 0;
    }
    if (!static_cast<CMVT_WavMemory&>(item).loadFromFile(toBytes(base.filePath(name)))) {
        error = QStringLiteral("cannot load the sound %1").arg(base.filePath(name));
        return 0;
    }
    return 1;
}

std::optional<CExtractedFile> SoundJson::extract(const CResourceItem& item) const
{
    const auto& sound = static_cast<const CMVT_WavMemory&>(item);
    if (!sound.hasData())
        return std::nullopt;
    if (sound.isOgg())
        return CExtractedFile{sound.oggFile(), QStringLiteral("ogg")};
    // Through sample buffers, so the file is written the one way the program
    // writes every WAV file.
    const int channels = sound.channels();
    const auto frames = static_cast<std::uint32_t>(sound.frames());
    std::vector<CSampleBuffer> buffers(static_cast<std::size_t>(std::max(0, channels)));
    std::vector<const CSampleBuffer*> pointers;
    const auto* bytes = reinterpret_cast<const unsigned char*>(sound.samples().constData());
    for (int c = 0; c < channels; ++c) {
        CSampleBuffer& buffer = buffers[static_cast<std::size_t>(c)];
        buffer.resize(frames);
        if (!buffer.importSamples(bytes, static_cast<std::size_t>(sound.samples().size()), 0, frames, sound.bits(), c, channels))
            return std::nullopt;
        pointers.push_back(&buffer);
    }
    const auto wav = CWavWriter::build(pointers, 0, frames, sound.bits(), static_cast<std::uint32_t>(sound.sampleRate()), {});
    if (!wav)
        return std::nullopt;
    return CExtractedFile{*wav, QStringLiteral("wav")};
}
