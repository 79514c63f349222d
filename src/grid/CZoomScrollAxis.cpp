#include "grid/CZoomScrollAxis.h"

#include <algorithm>
#include <cmath>

void CZoomScrollAxis::setRange(double start, double end)
{
    m_start = start;
    m_end = end;
    keepInRange();
}

double CZoomScrollAxis::rangeLength() const
{
    return std::fabs(m_end - m_start);
}

void CZoomScrollAxis::setViewportPixels(double pixels)
{
    m_pixels = std::max(0.0, pixels);
    keepInRange();
}

double CZoomScrollAxis::boundedZoom(double zoom)
{
    return std::isfinite(zoom) ? std::clamp(zoom, kMinZoom, kMaxZoom) : 1.0;
}

void CZoomScrollAxis::remember()
{
    m_previousPosition = m_position;
    m_previousZoom = m_zoom;
}

CZoomScrollAxis::Notice CZoomScrollAxis::changed() const
{
    if (m_zoom != m_previousZoom)
        return Notice::Zoomed;
    return m_position != m_previousPosition ? Notice::Scrolled : Notice::None;
}

void CZoomScrollAxis::keepInRange()
{
    if (m_free)
        return;
    if (fitsInView()) {
        m_position = m_start;
        return;
    }
    // The visible part runs from the position toward the end, so on a
    // reversed axis the position lies between end + extent and start.
    const double extent = visibleExtent();
    if (reversed())
        m_position = std::clamp(m_position, m_end + extent, m_start);
    else
        m_position = std::clamp(m_position, m_start, m_end - extent);
}

CZoomScrollAxis::Notice CZoomScrollAxis::run(Command command)
{
    remember();
    const double page = visibleExtent() * direction();
    const double stepSize = step() * direction();
    const double middle = m_pixels / 2.0;
    switch (command) {
    case PageBack: m_position -= page; break;
    case StepBack: m_position -= stepSize; break;
    case StepForward: m_position += stepSize; break;
    case PageForward: m_position += page; break;
    case ZoomIn: return zoomAbout(m_zoom * kZoomInFactor, middle);
    case ZoomOut: return zoomAbout(m_zoom * kZoomOutFactor, middle);
    case OneToOne: return zoomAbout(1.0, middle);
    case Fit:
        m_zoom = rangeLength() > 0.0 && m_pixels > 0.0 ? boundedZoom(m_pixels / rangeLength()) : 1.0;
        m_position = m_start;
        keepInRange();
        // Even an unchanged zoom is told: the owner lays out again.
        return Notice::Zoomed;
    }
    keepInRange();
    // Content that fits has nowhere to go: the press still tells the owner,
    // which shows it from its start.
    return fitsInView() && !m_free ? Notice::Scrolled : changed();
}

CZoomScrollAxis::Notice CZoomScrollAxis::dragZoom(double units)
{
    remember();
    const double zoom = m_zoom;
    const Notice notice = zoomAbout(boundedZoom(zoom + units * kZoomDragFactor), m_pixels / 2.0);
    m_previousZoom = zoom;
    return notice;
}

CZoomScrollAxis::Notice CZoomScrollAxis::dragMove(double units)
{
    remember();
    m_position -= units;
    keepInRange();
    return fitsInView() && !m_free ? Notice::Scrolled : changed();
}

CZoomScrollAxis::Notice CZoomScrollAxis::scrollTo(double position)
{
    remember();
    m_position = position;
    keepInRange();
    return changed();
}

CZoomScrollAxis::Notice CZoomScrollAxis::zoomAbout(double zoom, double pixel)
{
    const double position = m_position;
    const double before = m_zoom;
    const double anchor = toContent(pixel);
    m_zoom = boundedZoom(zoom);
    m_position = anchor - direction() * pixel / m_zoom;
    keepInRange();
    m_previousPosition = position;
    m_previousZoom = before;
    return changed();
}

CZoomScrollAxis::Notice CZoomScrollAxis::ensureVisible(double from, double to)
{
    remember();
    const double extent = visibleExtent();
    // Measured along the axis's own direction.
    const double a = (from - m_position) * direction();
    const double b = (to - m_position) * direction();
    if (a < 0.0)
        m_position = from;
    else if (b > extent)
        m_position += direction() * std::min(b - extent, a);
    keepInRange();
    return changed();
}

double CZoomScrollAxis::toContent(double pixel) const
{
    return m_position + direction() * pixel / m_zoom;
}

double CZoomScrollAxis::toPixel(double content) const
{
    return (content - m_position) * direction() * m_zoom;
}

int CZoomScrollAxis::trackLength(int length, int buttonSize) const
{
    return std::max(0, length - 2 * trackGap(buttonSize));
}

CZoomScrollAxis::Thumb CZoomScrollAxis::thumb(int track) const
{
    const double range = m_end - m_start;
    if (track <= 0)
        return {0, 0};
    if (range == 0.0)
        return {0, track};
    Thumb t;
    t.length = static_cast<int>(std::lround(track * visibleExtent() / std::fabs(range)));
    t.start = static_cast<int>(std::lround(track * (m_position - m_start) / range));
    if (t.length >= track)
        return {0, track};
    t.length = std::max(1, t.length);
    t.start = std::clamp(t.start, 0, track - t.length);
    return t;
}

double CZoomScrollAxis::positionAtThumb(double thumbStart, int track) const
{
    return track > 0 ? m_start + thumbStart / track * (m_end - m_start) : m_start;
}
