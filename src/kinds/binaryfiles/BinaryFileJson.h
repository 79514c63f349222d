#pragma once

#include "core/CKindJson.h"

// An embedded file: dumped as its size, checksum and source name; packed
// from {"file": "path"}; extracted as its bytes.
class BinaryFileJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
    std::optional<CExtractedFile> extract(const CResourceItem& item) const override;
};
