#pragma once

#include "core/CKindJson.h"

// A colour as {"color": "#rrggbb", "alpha": 0..255}.
class ColorJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
};
