#pragma once

#include "core/CKindJson.h"

// A text record as {"text": "..."}.
class TextJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
};
