#include "tools/analysis/CGradientColorMap.h"

#include <algorithm>
#include <cmath>

namespace {
int channelValue(double v)
{
    if (!(v >= 0.0))
        return 0;
    if (v > 255.0)
        return 255;
    return static_cast<int>(std::round(v)); // halves away from zero
}

double clampedPosition(double v)
{
    if (!(v >= 0.0))
        return 0.0;
    return v > 1.0 ? 1.0 : v;
}
} // namespace

CGradientColorMap::CGradientColorMap()
    : m_stops{{0.0, 0, 0, 0}, {0.5, 0, 0, 0}, {0.75, 0, 0, 255}, {1.0, 255, 255, 255}}
{
}

CGradientColorMap CGradientColorMap::defaultMap()
{
    return CGradientColorMap();
}

QRgb CGradientColorMap::colorAt(double value) const
{
    if (m_stops.empty())
        return qRgb(0, 0, 0);
    const double v = clampedPosition(value);
    std::size_t found = 0;
    while (found < m_stops.size() && !(m_stops[found].position >= v))
        ++found;
    if (found == m_stops.size())
        found = m_stops.size() - 1;
    // The stop before the one found, or the first stop, and the stop after it.
    const std::size_t a = found > 0 ? found - 1 : 0;
    const std::size_t b = std::min(a + 1, m_stops.size() - 1);
    const Stop& s0 = m_stops[a];
    const Stop& s1 = m_stops[b];
    const double span = s1.position - s0.position;
    const double t = span > 0.0 ? std::clamp((v - s0.position) / span, 0.0, 1.0) : 1.0;
    auto mix = [t](int c0, int c1) { return channelValue(c0 + (c1 - c0) * t); };
    return qRgb(mix(s0.red, s1.red), mix(s0.green, s1.green), mix(s0.blue, s1.blue));
}

QRgb CGradientColorMap::stripColor(int x, int left, int width) const
{
    if (width < 2)
        return colorAt(0.0);
    return colorAt(static_cast<double>(x - left) / static_cast<double>(width - 1));
}

bool CGradientColorMap::isMovable(std::size_t index) const
{
    return index > 0 && index + 1 < m_stops.size();
}

int CGradientColorMap::setPosition(std::size_t index, double position)
{
    if (!isMovable(index))
        return 0;
    m_stops[index].position = clampedPosition(position);
    sort();
    return 1;
}

int CGradientColorMap::setChannel(std::size_t index, int channel, double value)
{
    if (index >= m_stops.size())
        return 0;
    Stop& s = m_stops[index];
    switch (channel) {
    case 0: s.red = channelValue(value); return 1;
    case 1: s.green = channelValue(value); return 1;
    case 2: s.blue = channelValue(value); return 1;
    default: return 0;
    }
}

std::size_t CGradientColorMap::addStop(double position)
{
    const double p = clampedPosition(position);
    const QRgb c = colorAt(p);
    // Inside the ends, so that the ends stay the first and the last stop.
    auto at = std::upper_bound(m_stops.begin() + 1, m_stops.end() - 1, p,
                               [](double v, const Stop& s) { return v < s.position; });
    at = m_stops.insert(at, Stop{p, qRed(c), qGreen(c), qBlue(c)});
    return static_cast<std::size_t>(at - m_stops.begin());
}

int CGradientColorMap::removeStop(std::size_t index)
{
    if (!isMovable(index))
        return 0;
    m_stops.erase(m_stops.begin() + static_cast<std::ptrdiff_t>(index));
    return 1;
}

int CGradientColorMap::setStops(std::vector<Stop> stops)
{
    if (stops.size() < 2)
        return 0;
    for (Stop& s : stops) {
        s.position = clampedPosition(s.position);
        s.red = channelValue(s.red);
        s.green = channelValue(s.green);
        s.blue = channelValue(s.blue);
    }
    m_stops = std::move(stops);
    sort();
    return 1;
}

void CGradientColorMap::sort()
{
    // Stable, so that stops at the same position keep their order and the
    // end stops stay at the ends.
    std::stable_sort(m_stops.begin(), m_stops.end(),
                     [](const Stop& a, const Stop& b) { return a.position < b.position; });
}

bool CGradientColorMap::operator==(const CGradientColorMap& other) const
{
    if (m_stops.size() != other.m_stops.size())
        return false;
    for (std::size_t i = 0; i < m_stops.size(); ++i) {
        const Stop& a = m_stops[i];
        const Stop& b = other.m_stops[i];
        if (a.position != b.position || a.red != b.red || a.green != b.green || a.blue != b.blue)
            return false;
    }
    return true;
}
