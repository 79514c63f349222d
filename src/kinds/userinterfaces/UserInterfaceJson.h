#pragma once

#include "core/CKindJson.h"

// A user interface as its type and its items, each with every field:
// {"type": 1 or "Custom", "items": [{"id", "type": 6 or "Button", "title", "helpText",
//   "defaultValue", "minimumValue", "maximumValue", "level", "image", "states", "comments"}]}.
class UserInterfaceJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
};
