#include "kinds/trajectories/Trajectory.h"

#include "core/CArchive.h"
#include "core/CKeySource.h"
#include "core/CSectionCoder.h"
#include "quillop/runtime/TrajectoryPath.h"

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// Clamps like the editor's prompts do; a NaN (nothing typed) takes the lower
// bound, as a prompt answer of 0 would.
double clampArgument(double value, double low, double high)
{
    if (std::isnan(value))
        return low;
    return std::clamp(value, low, high);
}

// Both coordinates at once, for the loops of Resample and Smooth that probe
// the path many times per point.
TrajectoryPoint pointAt(const std::vector<TrajectoryPoint>& points, double t)
{
    return quillop::pointOnPath(points.data(), points.size(), t);
}

double pathAt(const std::vector<TrajectoryPoint>& points, double t, double TrajectoryPoint::*axis)
{
    return pointAt(points, t).*axis;
}

// Coordinates far outside the int range stay at its edge instead of
// overflowing the conversion.
int truncateToInt(double v)
{
    if (std::isnan(v))
        return 0;
    const double t = std::trunc(v);
    if (t <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (t >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(t);
}

// Resample probes the path in steps of a hundredth of the spacing along its
// longest segment. A path whose longest segment is enormous next to the
// spacing would take hours and gigabytes; past this many probes (at most
// one output point per hundred probes) the path is left as it is.
constexpr double kMaxResampleProbes = 5e8;

} // namespace

std::unique_ptr<CResourceItem> Trajectory::createDefault() const
{
    return std::make_unique<Trajectory>();
}

int Trajectory::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    if (ar.isLoading())
        RemoveAllPoints();

    std::uint8_t closed = m_closed ? 1 : 0;
    std::int32_t count = GetPointCount();
    coder.codeRecordHeader(ar, kRecordVersion);
    coder.codeInt(ar, m_type);
    coder.codeInt(ar, m_playMode);
    coder.codeInt(ar, m_offsetX);
    coder.codeInt(ar, m_offsetY);
    coder.codeDouble(ar, m_playSpeed);
    coder.codeByte(ar, closed);
    coder.codeDouble(ar, m_centerOfMass.x);
    coder.codeDouble(ar, m_centerOfMass.y);
    coder.codeInt(ar, count);

    if (!ar.isLoading()) {
        for (auto& p : m_points) {
            coder.codeDouble(ar, p.x);
            coder.codeDouble(ar, p.y);
        }
        return 1;
    }

    m_closed = closed != 0;
    // A negative count holds no points; a count the rest of the file cannot
    // hold is refused before anything is allocated.
    if (count < 0)
        count = 0;
    ar.requireRemaining(std::int64_t(count) * 16);
    // The points are taken as stored: a closed shape arrives with its
    // closing point already in place.
    m_points.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        TrajectoryPoint p;
        coder.codeDouble(ar, p.x);
        coder.codeDouble(ar, p.y);
        m_points.push_back(p);
    }
    UpdateBounds();
    return 1;
}

int Trajectory::AddNoise(double level)
{
    return AddNoise(level, defaultKeySource());
}

int Trajectory::AddNoise(double level, CKeySource& source)
{
    level = clampArgument(level, 0.0001, 10000);
    source.seed(static_cast<unsigned int>(std::time(nullptr)));
    const std::size_t last = hasClosingPoint() ? m_points.size() - 1 : m_points.size();
    for (std::size_t i = 0; i < last; ++i) {
        const double r1 = static_cast<unsigned int>(source.draw()) % 32768u;
        const double r2 = static_cast<unsigned int>(source.draw()) % 32768u;
        m_points[i].x += level * (r1 / 32767.0 - 0.5);
        m_points[i].y += level * (r2 / 32767.0 - 0.5);
    }
    refreshClosingPoint();
    return 1;
}

int Trajectory::Quantify(double grid)
{
    grid = clampArgument(grid, 0.001, 10000);
    const std::size_t last = hasClosingPoint() ? m_points.size() - 1 : m_points.size();
    for (std::size_t i = 0; i < last; ++i) {
        // Toward zero: -1.7 on a grid of 1 becomes -1, not -2.
        m_points[i].x = grid * std::trunc(m_points[i].x / grid);
        m_points[i].y = grid * std::trunc(m_points[i].y / grid);
    }
    refreshClosingPoint();
    return 1;
}

int Trajectory::Smooth(std::int32_t range)
{
    const std::int32_t n = GetPointCount();
    if (n <= 3)
        return 1;
    std::int32_t r = range;
    if (r > n / 2)
        r = n / 2;
    r = std::clamp(r, 2, 10000);

    std::vector<TrajectoryPoint> smoothed = m_points;
    if (m_closed) {
        // The window looks forward from i and wraps over the closing point,
        // so that it is not counted twice; the closing point gets the same
        // mean as the first.
        for (std::int32_t i = 0; i < n; ++i) {
            double sx = 0, sy = 0;
            for (std::int32_t k = i; k <= i + r; ++k) {
                const auto& p = m_points[static_cast<std::size_t>(k % (n - 1))];
                sx += p.x;
                sy += p.y;
            }
            smoothed[static_cast<std::size_t>(i)] = {sx / (r + 1), sy / (r + 1)};
        }
    } else {
        // The window slides from [0, R] for the first point to
        // [n - 1 - R, n - 1] for the last, so both ends stay anchored.
        const double slide = static_cast<double>(r) / (n - 1);
        for (std::int32_t i = 0; i < n; ++i) {
            double lo = i - i * slide;
            double hi = lo + r;
            lo = std::max(lo, 0.0);
            hi = std::min(hi, static_cast<double>(n - 1));
            // Count the samples up front: summing 1.0 onto a fractional lo
            // could otherwise lose the last sample to rounding.
            const auto samples = static_cast<std::int32_t>(std::floor(hi - lo + 1e-9)) + 1;
            double sx = 0, sy = 0;
            for (std::int32_t m = 0; m < samples; ++m) {
                const TrajectoryPoint p = pointAt(m_points, lo + m);
                sx += p.x;
                sy += p.y;
            }
            smoothed[static_cast<std::size_t>(i)] = {sx / samples, sy / samples};
        }
    }
    replacePoints(smoothed);
    return 1;
}

int Trajectory::Resample(double distance)
{
    distance = clampArgument(distance, 0.01, 10000);
    const std::size_t n = m_points.size();
    double longest = 0.0;
    for (std::size_t i = 0; i + 1 < n; ++i)
        longest = std::max(longest, std::hypot(m_points[i + 1].x - m_points[i].x, m_points[i + 1].y - m_points[i].y));
    // With no segment of any length (one point, or all points equal) the
    // probe step is undefined and the walk could never progress: the path
    // stays as it is. The same for coordinates that are not numbers.
    if (!(longest > 0.0) || !std::isfinite(longest))
        return 1;
    const double step = 0.01 * distance / longest;
    const double end = static_cast<double>(n);
    if (end / step > kMaxResampleProbes)
        return 1;

    std::vector<TrajectoryPoint> samples;
    double t = 0.0;
    while (t < end) {
        const TrajectoryPoint at = pointAt(m_points, t);
        samples.push_back(at);
        double u = t;
        while (u < end) {
            const TrajectoryPoint probe = pointAt(m_points, u);
            const double d = std::hypot(probe.x - at.x, probe.y - at.y);
            u += step;
            if (d >= distance)
                break;
        }
        t = u;
    }
    replacePoints(samples);
    return 1;
}

int Trajectory::SetClosedShape(bool closed)
{
    if (m_points.size() > 1) {
        if (m_closed && !closed)
            m_points.pop_back();
        else if (!m_closed && closed)
            appendGrowing(m_points.front());
    }
    m_closed = closed;
    return 1;
}

int Trajectory::UpdateCenterOfMass()
{
    if (m_points.empty())
        return SetCenterOfMass(0.0, 0.0);
    double sx = 0, sy = 0;
    for (const auto& p : m_points) {
        sx += p.x;
        sy += p.y;
    }
    const auto n = static_cast<double>(m_points.size());
    return SetCenterOfMass(sx / n, sy / n);
}

int Trajectory::SetCenterOfMass(double x, double y)
{
    m_centerOfMass = {x, y};
    return 1;
}

int Trajectory::RemoveAllPoints()
{
    std::vector<TrajectoryPoint>().swap(m_points);
    return 1;
}

int Trajectory::AddPoint(double x, double y)
{
    if (!m_closed || m_points.empty()) {
        appendGrowing({x, y});
        return 1;
    }
    // Closed: the new point takes the closing point's place and the closing
    // point is added again. With a single point that point is replaced, so
    // re-adding q0..qm to a cleared closed shape gives q1..qm, q1.
    m_points.back() = {x, y};
    appendGrowing(m_points.front());
    return 1;
}

int Trajectory::SetPoint(int index, double x, double y)
{
    if (index < 0 || index >= GetPointCount())
        return 0;
    m_points[static_cast<std::size_t>(index)] = {x, y};
    return 1;
}

TrajectoryPoint Trajectory::GetPoint(int index) const
{
    if (index < 0 || index >= GetPointCount())
        return {};
    return m_points[static_cast<std::size_t>(index)];
}

int Trajectory::SetPlayMode(std::int32_t mode)
{
    m_playMode = mode;
    return 1;
}

int Trajectory::SetType(std::int32_t type)
{
    m_type = type;
    return 1;
}

double Trajectory::PathXAt(double t) const { return pathAt(m_points, t, &TrajectoryPoint::x); }
double Trajectory::PathYAt(double t) const { return pathAt(m_points, t, &TrajectoryPoint::y); }

int Trajectory::UpdateBounds()
{
    if (m_points.empty()) {
        m_minX = m_maxX = 0.0;
        m_minY = m_maxY = 1.0;
        return 1;
    }
    m_minX = m_maxX = m_points.front().x;
    m_minY = m_maxY = m_points.front().y;
    for (const auto& p : m_points) {
        m_minX = std::min(m_minX, p.x);
        m_maxX = std::max(m_maxX, p.x);
        m_minY = std::min(m_minY, p.y);
        m_maxY = std::max(m_maxY, p.y);
    }
    return 1;
}

std::string Trajectory::specsText() const
{
    const std::int64_t count = GetPointCount();
    char text[160];
    if (m_type == TrajectoryCollisionTest)
        std::snprintf(text, sizeof text, "%" PRId64 " Points, %" PRId64 " Bytes, Mass Center[ %.3f, %.3f ]", count,
                      count * 16, m_centerOfMass.x, m_centerOfMass.y);
    else
        std::snprintf(text, sizeof text, "%" PRId64 " Points, %" PRId64 " Bytes", count, count * 16);
    return text;
}

QPolygon Trajectory::regionPolygon() const
{
    QPolygon polygon;
    if (m_points.size() <= 2)
        return polygon;
    polygon.reserve(static_cast<qsizetype>(m_points.size()) + 1);
    for (const auto& p : m_points)
        polygon << QPoint(truncateToInt(p.x), truncateToInt(p.y));
    polygon << polygon.front();
    return polygon;
}

QRegion Trajectory::region() const
{
    const QPolygon polygon = regionPolygon();
    if (polygon.isEmpty())
        return {};
    return QRegion(polygon, Qt::OddEvenFill);
}

QPolygonF Trajectory::pathPolygon(double dx, double dy) const
{
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(m_points.size()));
    for (const auto& p : m_points)
        polygon << QPointF(p.x + dx, p.y + dy);
    return polygon;
}

void Trajectory::replacePoints(const std::vector<TrajectoryPoint>& points)
{
    RemoveAllPoints();
    // The result is known in full: one allocation instead of the stepwise
    // growth of interactive drawing.
    m_points.reserve(points.size() + 1);
    for (const auto& p : points)
        AddPoint(p.x, p.y);
}

void Trajectory::refreshClosingPoint()
{
    if (hasClosingPoint())
        m_points.back() = m_points.front();
}

void Trajectory::appendGrowing(TrajectoryPoint p)
{
    // Points drawn one by one grow the array by an eighth (4 to 1024 points
    // at a time) rather than doubling it.
    if (m_points.size() == m_points.capacity()) {
        const std::size_t size = m_points.size();
        m_points.reserve(size + std::max<std::size_t>(4, std::min<std::size_t>(1024, size / 8)));
    }
    m_points.push_back(p);
}
