#pragma once

#include "core/CKindJson.h"

// A sound: dumped as its format, size and checksum; packed from
// {"file": "x.wav" | "x.ogg" | "x.pcm"}; extracted as a WAV file, or as the
// original Ogg bytes for compressed sounds.
class SoundJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
    std::optional<CExtractedFile> extract(const CResourceItem& item) const override;
};
