#pragma once

#include "core/CKindJson.h"

// A bitmap: dumped with its kind, sizes, offsets and source (name, size,
// SHA-1); packed from {"file": "picture.png", "offsetX", "offsetY"};
// extracted as the bytes of the file it came from.
class BitmapJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
    std::optional<CExtractedFile> extract(const CResourceItem& item) const override;
};
