#pragma once

#include "core/CKindJson.h"

// An animation as its frames and settings:
// {"type": 1, "playMode": 1, "playModeText": "Forward Loop",
//  "frames": [{"bitmap": 0, "delay": 1, "offsetX": 0, "offsetY": 0}, ...]}.
// A manifest may give the play mode as its number or as its text.
class AnimationJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
};
