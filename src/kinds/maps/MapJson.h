#pragma once

#include "core/CKindJson.h"

// A map as its settings and cells, column by column as the file keeps them:
// {"type": 0, "typeText": "Grid of Bitmaps", "sizeX": 32, "sizeY": 32,
//  "nbColumns": 2, "nbLines": 3, "columns": [[-1, 0, 1], [2, -1, -1]]}.
// A manifest gives either "columns" or just "nbColumns" and "nbLines" for a
// map of empty cells.
class MapJson : public CKindJson {
public:
    void describe(const CResourceItem& item, QJsonObject& fields) const override;
    int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const override;
};
