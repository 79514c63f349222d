#include "kinds/worlds/WorldJson.h"

#include "kinds/worlds/GameWorld.h"

#include <QJsonArray>

#include <cmath>
#include <limits>

namespace {
// Reads an optional field into `out`, leaving it as it is when absent. A
// value of the wrong kind, or a number that is not a whole 32-bit one where
// an integer is stored, is refused rather than silently cut.
bool readInt(const QJsonObject& o, const char* key, std::int32_t& out)
{
    const QJsonValue v = o[QLatin1String(key)];
    if (v.isUndefined())
        return true;
    const double d = v.toDouble(0.5);
    if (!v.isDouble() || d != std::floor(d) || d < std::numeric_limits<std::int32_t>::min() ||
        d > std::numeric_limits<std::int32_t>::max())
        return false;
    out = static_cast<std::int32_t>(d);
    return true;
}

bool readReal(const QJsonObject& o, const char* key, double& out)
{
    const QJsonValue v = o[QLatin1String(key)];
    if (v.isUndefined())
        return true;
    if (!v.isDouble())
        return false;
    out = v.toDouble();
    return true;
}

bool readBool(const QJsonObject& o, const char* key, bool& out)
{
    const QJsonValue v = o[QLatin1String(key)];
    if (v.isUndefined())
        return true;
    if (!v.isBool())
        return false;
    out = v.toBool();
    return true;
}

bool readText(const QJsonObject& o, const char* key, std::string& out)
{
    const QJsonValue v = o[QLatin1String(key)];
    if (v.isUndefined())
        return true;
    if (!v.isString())
        return false;
    out = toBytes(v.toString());
    return true;
}

// A type by number, or by one of its texts (looked up over 0..count-1).
bool readType(const QJsonObject& o, const char* key, int count, const char* (*text)(std::int32_t), std::int32_t& out)
{
    const QJsonValue v = o[QLatin1String(key)];
    if (!v.isString())
        return readInt(o, key, out);
    for (std::int32_t t = 0; t < count; ++t)
        if (v.toString() == QLatin1String(text(t))) {
            out = t;
            return true;
        }
    return false;
}

// Real fields of an element, by their manifest keys.
struct RealField {
    const char* key;
    double WorldElement::*member;
};
const RealField kRealFields[] = {
    {"offsetX", &WorldElement::offsetX},
    {"offsetY", &WorldElement::offsetY},
    {"objectPlayOffset", &WorldElement::objectPlayOffset},
    {"objectPlaySpeed", &WorldElement::objectPlaySpeed},
    {"trajectoryPlayOffset", &WorldElement::trajectoryPlayOffset},
    {"trajectoryPlaySpeed", &WorldElement::trajectoryPlaySpeed},
    {"playOffset", &WorldElement::playOffset},
    {"playSpeed", &WorldElement::playSpeed},
};

QJsonObject describeElement(const WorldElement& e)
{
    QJsonObject o;
    o[QStringLiteral("id")] = fromBytes(e.id);
    o[QStringLiteral("comments")] = fromBytes(e.comments);
    o[QStringLiteral("show")] = e.show;
    o[QStringLiteral("play")] = e.play;
    o[QStringLiteral("objectType")] = e.objectType;
    o[QStringLiteral("objectTypeText")] = QString::fromLatin1(WorldElement::objectTypeText(e.objectType));
    o[QStringLiteral("objectIndex")] = e.objectIndex;
    o[QStringLiteral("trajectoryIndex")] = e.trajectoryIndex;
    for (const RealField& f : kRealFields)
        o[QLatin1String(f.key)] = e.*f.member;
    return o;
}

bool assignElement(const QJsonValue& value, WorldElement& e)
{
    if (!value.isObject())
        return false;
    const QJsonObject o = value.toObject();
    bool ok = readText(o, "id", e.id) && readText(o, "comments", e.comments) && readBool(o, "show", e.show) &&
              readBool(o, "play", e.play) &&
              readType(o, "objectType", 5, &WorldElement::objectTypeText, e.objectType) &&
              readInt(o, "objectIndex", e.objectIndex) && readInt(o, "trajectoryIndex", e.trajectoryIndex);
    for (const RealField& f : kRealFields)
        ok = ok && readReal(o, f.key, e.*f.member);
    return ok;
}
} // namespace

void WorldJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& w = static_cast<const GameWorld&>(item);
    fields[QStringLiteral("type")] = w.worldType();
    fields[QStringLiteral("typeText")] = QString::fromLatin1(GameWorld::typeText(w.worldType()));
    fields[QStringLiteral("offsetX")] = w.offsetX();
    fields[QStringLiteral("offsetY")] = w.offsetY();
    fields[QStringLiteral("playOffset")] = w.playOffset();
    fields[QStringLiteral("playSpeed")] = w.playSpeed();
    QJsonArray elements;
    for (const WorldElement& e : w.elements())
        elements.append(describeElement(e));
    fields[QStringLiteral("elements")] = elements;
}

int WorldJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir&, QString& error) const
{
    auto& w = static_cast<GameWorld&>(item);
    std::int32_t type = GameWorld::kTypeSimple, offsetX = 0, offsetY = 0;
    double playOffset = 0.0, playSpeed = 1.0;
    if (!readType(fields, "type", 2, &GameWorld::typeText, type) || !readInt(fields, "offsetX", offsetX) ||
        !readInt(fields, "offsetY", offsetY) || !readReal(fields, "playOffset", playOffset) ||
        !readReal(fields, "playSpeed", playSpeed)) {
        error = QStringLiteral("a world has a type (0, 1, \"Simple\" or \"Sort Offsets Y\"), whole offsets "
                               "and numbers for its play offset and speed");
        return 0;
    }
    const QJsonValue list = fields[QStringLiteral("elements")];
    if (!list.isUndefined() && !list.isArray()) {
        error = QStringLiteral("the elements of a world are a list");
        return 0;
    }
    std::vector<WorldElement> elements;
    for (const QJsonValue& value : list.toArray()) {
        WorldElement e;
        if (!assignElement(value, e)) {
            error = QStringLiteral("element %1 of the world: texts for id and comments, true or false for "
                                   "show and play, whole numbers for the object type and the indexes, "
                                   "numbers for offsets and speeds")
                        .arg(elements.size());
            return 0;
        }
        elements.push_back(std::move(e));
    }
    w.setWorldType(type);
    w.setOffsetX(offsetX);
    w.setOffsetY(offsetY);
    w.setPlayOffset(playOffset);
    w.setPlaySpeed(playSpeed);
    w.removeAllElements();
    for (WorldElement& e : elements)
        *w.elementAt(w.addElement(e.id)) = std::move(e);
    return 1;
}
