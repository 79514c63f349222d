#include "kinds/animations/AnimationJson.h"

#include "kinds/animations/CAnimationItem.h"
#include "kinds/trajectories/PlayModes.h"

#include <QJsonArray>

#include <cmath>
#include <limits>

namespace {
// A whole number that fits a stored 32-bit field; anything else is refused
// rather than silently cut.
bool toInt32(const QJsonValue& value, std::int32_t& out)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (d != std::floor(d) || d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max())
        return false;
    out = static_cast<std::int32_t>(d);
    return true;
}
} // namespace

void AnimationJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& a = static_cast<const CAnimationItem&>(item);
    fields[QStringLiteral("type")] = a.animationType();
    fields[QStringLiteral("playMode")] = a.playMode();
    fields[QStringLiteral("playModeText")] = QString::fromLatin1(playModeText(a.playMode()));
    QJsonArray frames;
    for (const CAnimationFrame& f : a.frames())
        frames.append(QJsonObject{{QStringLiteral("bitmap"), f.bitmap},
                                  {QStringLiteral("delay"), f.delay},
                                  {QStringLiteral("offsetX"), f.offsetX},
                                  {QStringLiteral("offsetY"), f.offsetY}});
    fields[QStringLiteral("frames")] = frames;
}

int AnimationJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir&, QString& error) const
{
    auto& a = static_cast<CAnimationItem&>(item);
    std::int32_t type = CAnimationItem::kTypeBitmaps;
    if (fields.contains(QStringLiteral("type")) && !toInt32(fields[QStringLiteral("type")], type)) {
        error = QStringLiteral("an animation type is a whole number");
        return 0;
    }
    std::int32_t mode = a.playMode();
    const QJsonValue modeValue = fields[QStringLiteral("playMode")];
    if (modeValue.isString()) {
        mode = playModeFromText(modeValue.toString().toStdString());
        if (mode < 0) {
            error = QStringLiteral("unknown play mode \"%1\"").arg(modeValue.toString());
            return 0;
        }
    } else if (!modeValue.isUndefined() && !toInt32(modeValue, mode)) {
        error = QStringLiteral("a play mode is a number or one of the play mode texts");
        return 0;
    }
    const QJsonArray frames = fields[QStringLiteral("frames")].toArray();
    std::vector<CAnimationFrame> list;
    for (const QJsonValue& value : frames) {
        const QJsonObject f = value.toObject();
        CAnimationFrame frame{-1, 1, 0, 0};
        const bool ok = value.isObject() && toInt32(f[QStringLiteral("bitmap")], frame.bitmap) &&
                        (!f.contains(QStringLiteral("delay")) || toInt32(f[QStringLiteral("delay")], frame.delay)) &&
                        (!f.contains(QStringLiteral("offsetX")) || toInt32(f[QStringLiteral("offsetX")], frame.offsetX)) &&
                        (!f.contains(QStringLiteral("offsetY")) || toInt32(f[QStringLiteral("offsetY")], frame.offsetY));
        if (!ok) {
            error = QStringLiteral("a frame is {\"bitmap\": index, \"delay\", \"offsetX\", \"offsetY\"} with whole numbers");
            return 0;
        }
        list.push_back(frame);
    }
    a.clear();
    a.setAnimationType(type);
    a.setPlayMode(mode);
    for (const CAnimationFrame& f : list)
        a.addFrame(f.bitmap, f.delay, f.offsetX, f.offsetY);
    return 1;
}
