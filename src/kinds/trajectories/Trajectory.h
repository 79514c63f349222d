#pragma once

#include "core/CResourceItem.h"
#include "kinds/trajectories/TrajectoryPoint.h"

#include <QPolygon>
#include <QPolygonF>
#include <QRegion>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/CodingNames.h"

// What a trajectory is used for.
enum TrajectoryType : int {
    TrajectorySimplePoints = 0,
    TrajectoryPolygonToRegion = 1,
    TrajectoryCollisionTest = 2,
};

inline constexpr std::array<std::string_view, 3> kTrajectoryTypeTexts = {
    "Simple Points", "Polygon to CRgn", "Collision Test",
};

// A path or outline of the "Trajectories and Shapes" group: an ordered list
// of points that an object moves along, or that outlines a region or a
// collision shape. A closed shape stores its closing point (a copy of the
// first) as an ordinary last point, so every walk over the points sees it.
//
// Every operation accepts any argument: values out of range are clamped, and
// operations on an empty trajectory leave it empty.
class Trajectory : public CResourceItem {
public:
    static constexpr std::int32_t kRecordVersion = 2;

    Trajectory() = default;

    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;

    // Displaces every point (but the closing point) by up to +-level/2 on
    // each axis. The source is seeded with the calendar time in seconds and
    // then drawn twice per point; tests pass a source of their own.
    int AddNoise(double level);
    int AddNoise(double level, CKeySource& source);
    // Snaps points toward zero onto a grid.
    int Quantify(double grid);
    // Replaces every point by the mean of a window of `range` path samples.
    int Smooth(std::int32_t range);
    // Re-samples the path so that consecutive points lie about `distance`
    // apart.
    int Resample(double distance);

    int SetClosedShape(bool closed);
    bool IsClosedShape() const { return m_closed; }

    int UpdateCenterOfMass();
    int SetCenterOfMass(double x, double y);
    TrajectoryPoint GetCenterOfMass() const { return m_centerOfMass; }

    int RemoveAllPoints();
    // Appends a point; on a closed shape the point goes before the closing
    // point, which is refreshed from the first point.
    int AddPoint(double x, double y);
    // An index outside the points changes nothing and returns 0.
    int SetPoint(int index, double x, double y);
    // Without the offset; an index outside the points gives (0, 0).
    TrajectoryPoint GetPoint(int index) const;
    std::int32_t GetPointCount() const { return static_cast<std::int32_t>(m_points.size()); }
    const std::vector<TrajectoryPoint>& points() const { return m_points; }

    int SetPlayMode(std::int32_t mode);
    std::int32_t GetPlayMode() const { return m_playMode; }

    int SetType(std::int32_t type);
    std::int32_t GetType() const { return m_type; }

    // The path at a fractional point index t (between point i and i + 1 for
    // t in i..i+1), with the offset added.
    double XAt(double t) const { return m_offsetX + PathXAt(t); }
    double YAt(double t) const { return m_offsetY + PathYAt(t); }
    // The same without the offset.
    double PathXAt(double t) const;
    double PathYAt(double t) const;

    // Bounds are derived: they follow the points only when recomputed here
    // (loading does it).
    int UpdateBounds();
    double GetMinX() const { return m_minX; }
    double GetMaxX() const { return m_maxX; }
    double GetMinY() const { return m_minY; }
    double GetMaxY() const { return m_maxY; }

    std::int32_t GetOffsetX() const { return m_offsetX; }
    std::int32_t GetOffsetY() const { return m_offsetY; }
    void SetOffsetX(std::int32_t x) { m_offsetX = x; }
    void SetOffsetY(std::int32_t y) { m_offsetY = y; }

    // A factor; the editor shows it as a percentage.
    double GetPlaySpeed() const { return m_playSpeed; }
    void SetPlaySpeed(double speed) { m_playSpeed = speed; }

    // "%d Points, %d Bytes", with the centre of mass for collision shapes.
    std::string specsText() const;

    // The outline used to build regions: the stored points (offset not
    // applied, coordinates truncated toward zero) followed by the first point
    // again. Empty with fewer than three points.
    QPolygon regionPolygon() const;
    // That outline as an even-odd filled region; empty with fewer than three
    // points.
    QRegion region() const;
    // The points shifted by (dx, dy), for drawing.
    QPolygonF pathPolygon(double dx, double dy) const;

private:
    bool hasClosingPoint() const { return m_closed && m_points.size() >= 2; }
    void replacePoints(const std::vector<TrajectoryPoint>& points);
    void refreshClosingPoint();
    void appendGrowing(TrajectoryPoint p);  // by value: p may be one of the points

    std::int32_t m_offsetX = 0;
    std::int32_t m_offsetY = 0;
    double m_playSpeed = 1.0;
    TrajectoryPoint m_centerOfMass;
    bool m_closed = false;
    std::int32_t m_type = TrajectorySimplePoints;
    std::int32_t m_playMode = 1;
    double m_minX = 0.0;
    double m_maxX = 0.0;
    double m_minY = 1.0;
    double m_maxY = 1.0;
    std::vector<TrajectoryPoint> m_points;
};
