#pragma once

#include "core/CKindJson.h"

// A trajectory as its points and settings:
// {"points": [[x, y], ...], "closed", "type", "playMode", "playSpeed", "offsetX", "offsetY", "centerOfMass": [x, y]}.
class TrajectoryJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
};
