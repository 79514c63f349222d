#pragma once

#include <cstdint>

class CSampleBuffer;

// Drawing a bound curve with the mouse on the preview picture: every
// position becomes a column and a row counted from the bottom, and each move
// draws a straight ramp from the previous point, so that a fast stroke that
// skips columns still leaves no gap.
class CBoundCurveDrawing {
public:
    struct Point {
        std::int64_t column = 0;
        std::int64_t row = 0;
        bool operator==(const Point&) const = default;
    };

    // `curve` holds one value per column of a picture of columns x rows.
    CBoundCurveDrawing(CSampleBuffer& curve, std::int64_t columns, std::int64_t rows);

    // Picture coordinates (x to the right, y down from the top), clamped.
    Point pointAt(std::int64_t x, std::int64_t y) const;

    // The button goes down: the point is set.
    void press(std::int64_t x, std::int64_t y);
    // A move while the button is down.
    void move(std::int64_t x, std::int64_t y);
    void release() { m_drawing = false; }
    bool isDrawing() const { return m_drawing; }

private:
    void rampTo(const Point& p);

    CSampleBuffer& m_curve;
    std::int64_t m_columns;
    std::int64_t m_rows;
    Point m_previous;
    bool m_drawing = false;
};
