#include "kinds/trajectories/TrajectoryJson.h"

#include "kinds/trajectories/Trajectory.h"

#include <QJsonArray>

namespace {
QJsonArray pair(double x, double y) { return QJsonArray{x, y}; }
} // namespace

void TrajectoryJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& t = static_cast<const Trajectory&>(item);
    QJsonArray points;
    for (const TrajectoryPoint& p : t.points())
        points.append(pair(p.x, p.y));
    fields[QStringLiteral("points")] = points;
    fields[QStringLiteral("closed")] = t.IsClosedShape();
    fields[QStringLiteral("type")] = t.GetType();
    fields[QStringLiteral("playMode")] = t.GetPlayMode();
    fields[QStringLiteral("playSpeed")] = t.GetPlaySpeed();
    fields[QStringLiteral("offsetX")] = t.GetOffsetX();
    fields[QStringLiteral("offsetY")] = t.GetOffsetY();
    fields[QStringLiteral("centerOfMass")] = pair(t.GetCenterOfMass().x, t.GetCenterOfMass().y);
    fields[QStringLiteral("bounds")] = QJsonArray{t.GetMinX(), t.GetMinY(), t.GetMaxX(), t.GetMaxY()};
}

int TrajectoryJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir&, QString& error) const
{
    auto& t = static_cast<Trajectory&>(item);
    t.RemoveAllPoints();
    for (const QJsonValue& value : fields[QStringLiteral("points")].toArray()) {
        const QJsonArray p = value.toArray();
        if (p.size() != 2) {
            error = QStringLiteral("a point is [x, y]");
            return 0;
        }
        t.AddPoint(p[0].toDouble(), p[1].toDouble());
    }
    t.SetClosedShape(fields[QStringLiteral("closed")].toBool(false));
    t.SetType(fields[QStringLiteral("type")].toInt(t.GetType()));
    t.SetPlayMode(fields[QStringLiteral("playMode")].toInt(t.GetPlayMode()));
    t.SetPlaySpeed(fields[QStringLiteral("playSpeed")].toDouble(t.GetPlaySpeed()));
    t.SetOffsetX(fields[QStringLiteral("offsetX")].toInt(0));
    t.SetOffsetY(fields[QStringLiteral("offsetY")].toInt(0));
    const QJsonArray centre = fields[QStringLiteral("centerOfMass")].toArray();
    if (centre.size() == 2)
        t.SetCenterOfMass(centre[0].toDouble(), centre[1].toDouble());
    else
        t.UpdateCenterOfMass();
    t.UpdateBounds();
    return 1;
}
