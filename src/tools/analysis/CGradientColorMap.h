#pragma once

#include <QRgb>

#include <cstddef>
#include <vector>

// Maps a value of 0..1 to a colour by stops held in increasing position. The
// first and the last stop are the ends of the map: their positions cannot be
// moved and they cannot be removed, so the map always covers 0..1.
class CGradientColorMap {
public:
    struct Stop {
        double position = 0.0;
        int red = 0;
        int green = 0;
        int blue = 0;
    };

    // Black up to the middle, blue at three quarters, white at the top: the
    // weak matches stay dark and only the good ones light up.
    CGradientColorMap();
    static CGradientColorMap defaultMap();

    const std::vector<Stop>& stops() const { return m_stops; }
    std::size_t count() const { return m_stops.size(); }

    // The value is clamped to 0..1; the colour is interpolated between the
    // stop before the first stop at or above the value and that stop. A
    // value that is not a number reads as 0. Opaque.
    QRgb colorAt(double value) const;
    // Column x of a strip w pixels wide showing the whole map from `left`.
    QRgb stripColor(int x, int left, int width) const;

    // Editing, as the gradient editor does it. Positions are clamped to 0..1
    // and the stops re-sorted; channels are clamped to 0..255 and rounded
    // half away from zero. The end stops keep their positions (0 answered).
    int setPosition(std::size_t index, double position);
    int setChannel(std::size_t index, int channel, double value); // 0 red, 1 green, 2 blue
    bool isMovable(std::size_t index) const;
    // A new stop with the map's colour at that position; its index.
    std::size_t addStop(double position);
    // Any stop but the two ends; 1 when removed.
    int removeStop(std::size_t index);
    // Replaces the stops (sorted). Fewer than two stops are refused (0).
    int setStops(std::vector<Stop> stops);

    bool operator==(const CGradientColorMap& other) const;

private:
    void sort();
    std::vector<Stop> m_stops;
};
