#include "kinds/maps/MapJson.h"

#include "core/IPrompter.h"
#include "kinds/maps/CMapItem.h"

#include <QJsonArray>

#include <cmath>
#include <limits>

namespace {
bool wholeNumber(const QJsonValue& value, double low, double high, int& out)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (d != std::floor(d) || d < low || d > high)
        return false;
    out = static_cast<int>(d);
    return true;
}

bool int32Field(const QJsonObject& fields, const char* name, int& out)
{
    const QJsonValue value = fields[QLatin1String(name)];
    return value.isUndefined() ||
           wholeNumber(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), out);
}

// Resizing never asks here: the manifest says what the map is.
class CAgreeingPrompter : public IPrompter {
public:
    Answer ask(const std::string&, Buttons, Icon) override { return Answer::Yes; }
};
} // namespace

void MapJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& map = static_cast<const CMapItem&>(item);
    fields[QStringLiteral("type")] = map.mapType();
    fields[QStringLiteral("typeText")] = QString::fromLatin1(CMapItem::typeText(map.mapType()));
    fields[QStringLiteral("sizeX")] = map.sizeX();
    fields[QStringLiteral("sizeY")] = map.sizeY();
    fields[QStringLiteral("nbColumns")] = map.columnCount();
    fields[QStringLiteral("nbLines")] = map.lineCount();
    QJsonArray columns;
    for (int c = 0; c < map.columnCount(); ++c) {
        QJsonArray column;
        for (int l = 0; l < map.lineCount(); ++l)
            column.append(map.cell(c, l));
        columns.append(column);
    }
    fields[QStringLiteral("columns")] = columns;
}

int MapJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir&, QString& error) const
{
    auto& map = static_cast<CMapItem&>(item);
    int type = map.mapType();
    int sizeX = map.sizeX();
    int sizeY = map.sizeY();
    int columns = map.columnCount();
    int lines = map.lineCount();
    if (!int32Field(fields, "type", type) || !int32Field(fields, "sizeX", sizeX) || !int32Field(fields, "sizeY", sizeY) ||
        !int32Field(fields, "nbColumns", columns) || !int32Field(fields, "nbLines", lines)) {
        error = QStringLiteral("map types, sizes and counts are whole numbers");
        return 0;
    }
    const QJsonValue cellsValue = fields[QStringLiteral("columns")];
    const QJsonArray cells = cellsValue.toArray();
    if (cellsValue.isArray()) {
        columns = int(cells.size());
        lines = columns > 0 ? int(cells[0].toArray().size()) : 0;
        for (const QJsonValue& column : cells)
            if (!column.isArray() || column.toArray().size() != lines) {
                error = QStringLiteral("\"columns\" holds one array of cells per column, all of the same length");
                return 0;
            }
    }
    if (!CMapItem::sizeFits(columns, lines)) {
        error = QStringLiteral("a map has 0 to %1 columns and lines, at most %2 cells")
                    .arg(CMapItem::kMaxSide)
                    .arg(CMapItem::kMaxCells);
        return 0;
    }
    // A file keeps no columns without lines (nor lines without columns):
    // such a map would read back empty.
    if ((columns == 0) != (lines == 0)) {
        error = QStringLiteral("a map with columns has lines too: nbColumns and nbLines are both 0 or both above 0");
        return 0;
    }
    // Checked whole before anything changes, so that a refused manifest
    // leaves the map as it was.
    std::vector<int> values;
    for (const QJsonValue& column : cells)
        for (const QJsonValue& v : column.toArray()) {
            int value = 0;
            if (!wholeNumber(v, -32768, 32767, value)) {
                error = QStringLiteral("a cell is a bitmap index or -1, within -32768..32767");
                return 0;
            }
            values.push_back(value);
        }
    CAgreeingPrompter yes;
    map.resize(0, 0, yes);
    map.resize(columns, lines, yes);
    auto next = values.begin();
    for (int c = 0; c < columns && next != values.end(); ++c)
        for (int l = 0; l < lines; ++l)
            map.setCell(c, l, *next++);
    map.setMapType(type);
    map.setSizeX(sizeX);
    map.setSizeY(sizeY);
    return 1;
}
