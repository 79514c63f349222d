#pragma once

#include "core/CKindJson.h"

// A world as {"type", "typeText", "offsetX", "offsetY", "playOffset",
// "playSpeed", "elements": [...]}, each element with every field. Types may
// be given by number or by their texts; references are row indexes.
class WorldJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
};
