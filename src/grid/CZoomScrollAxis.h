#pragma once

// The arithmetic of one zoom-and-scroll bar: for its axis, the content range
// (whose end may lie below its start: a reversed axis), the part of it a
// window of so many pixels shows at the zoom, and the position of that part.
// The bar widget only draws this and forwards clicks; whatever can be worked
// out is worked out here.
//
// Pixels of the window map to content units through the zoom: a window of
// n pixels shows n / zoom units, starting at the position and running toward
// the range end.
class CZoomScrollAxis {
public:
    static constexpr double kZoomInFactor = 1.3333333333333333;
    static constexpr double kZoomOutFactor = 0.75;
    // Zoom added per unit the zoom control is dragged.
    static constexpr double kZoomDragFactor = 0.01;
    // A zoom of 0 or less would make every unit infinitely wide: the zoom
    // stays within these bounds whatever the commands ask.
    static constexpr double kMinZoom = 1.0 / 1024.0;
    static constexpr double kMaxZoom = 256.0;
    // Button widths kept clear at each end of the track.
    static constexpr int kGapButtons = 1;
    static constexpr int kCompactGapButtons = 6;

    enum Command { PageBack, StepBack, StepForward, PageForward, ZoomIn, ZoomOut, OneToOne, Fit };
    // What a command changed, for the owner to redraw.
    enum class Notice { None, Scrolled, Zoomed };

    struct Thumb {
        int start = 0;
        int length = 0;
    };

    void setRange(double start, double end);
    double rangeStart() const { return m_start; }
    double rangeEnd() const { return m_end; }
    bool reversed() const { return m_end < m_start; }
    double rangeLength() const;

    // The window's size along the axis; the visible extent follows from it
    // and the zoom.
    void setViewportPixels(double pixels);
    double viewportPixels() const { return m_pixels; }
    double visibleExtent() const { return m_pixels / m_zoom; }
    // One step button press moves this many window pixels.
    void setStepPixels(double pixels) { m_stepPixels = pixels; }
    double step() const { return m_stepPixels / m_zoom; }

    void setFreeScrolling(bool on) { m_free = on; }
    bool freeScrolling() const { return m_free; }
    void setCompact(bool on) { m_compact = on; }
    bool compact() const { return m_compact; }

    double position() const { return m_position; }
    double zoom() const { return m_zoom; }
    // As they were before the last command.
    double previousPosition() const { return m_previousPosition; }
    double previousZoom() const { return m_previousZoom; }

    // The whole range lies inside the visible part.
    bool fitsInView() const { return rangeLength() < visibleExtent(); }

    // The bar's buttons and drag controls. Scrolling commands on content
    // that fits put the position at the range start (unless scrolling is
    // free); zoom commands keep the middle of the window where it was.
    Notice run(Command command);
    Notice dragZoom(double units);
    // The move control dragged by `units` content units.
    Notice dragMove(double units);

    // Sets the position, kept inside the range unless scrolling is free.
    Notice scrollTo(double position);
    // Sets the zoom keeping the content under window pixel `pixel` there.
    Notice zoomAbout(double zoom, double pixel);
    // Keeps the position inside the range after the range or window changed.
    void keepInRange();
    // Scrolls as little as needed to show content from..to (as much of it
    // as the window holds, from `from` on).
    Notice ensureVisible(double from, double to);

    double toContent(double pixel) const;
    double toPixel(double content) const;

    // The thumb on a track of `track` pixels.
    Thumb thumb(int track) const;
    // The position whose thumb starts at pixel `thumbStart` of the track.
    double positionAtThumb(double thumbStart, int track) const;
    // The pixels of a bar of `length` left for the thumb's travel.
    int trackLength(int length, int buttonSize) const;
    int trackGap(int buttonSize) const { return buttonSize * (m_compact ? kCompactGapButtons : kGapButtons); }

private:
    double direction() const { return reversed() ? -1.0 : 1.0; }
    void remember();
    Notice changed() const;
    static double boundedZoom(double zoom);

    double m_start = 0.0;
    double m_end = 0.0;
    double m_pixels = 0.0;
    double m_stepPixels = 16.0;
    double m_position = 0.0;
    double m_zoom = 1.0;
    double m_previousPosition = 0.0;
    double m_previousZoom = 1.0;
    bool m_free = false;
    bool m_compact = false;
};
