#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include <vector>

class CResourceHolder;
class QPainter;

// The Bitmaps panel's preview, where offsets are set by eye: the current
// bitmap drawn at an origin with two guide lines through it, and the other
// selected bitmaps drawn at the same origin and framed, so that their
// offsets can be lined up. Coordinates are the preview's pixels at zoom 1.
class CBitmapOffsetPreview {
public:
    static constexpr QPoint kInitialOrigin{94, 94};

    struct Colors {
        QColor lines{128, 128, 128};
        QColor frame{255, 0, 0};
    };

    QPoint origin() const { return m_origin; }
    void setOrigin(QPoint origin) { m_origin = origin; }

    // Where a bitmap lands drawn at the origin (its offsets applied); empty
    // for a row without a picture.
    QRect bitmapRect(const CResourceHolder& document, int row) const;
    // Everything drawn: the origin and the bitmaps of `rows`.
    QRect drawnBounds(const CResourceHolder& document, const std::vector<int>& rows) const;
    // Draws `others` framed and then `current` at the origin, over guide
    // lines across `visible`.
    void draw(QPainter& painter, const CResourceHolder& document, int current, const std::vector<int>& others,
              const QRect& visible, const Colors& colors) const;

    // Offset edits of the rows' bitmaps; they answer the rows changed.
    static std::vector<int> moveOffsets(CResourceHolder& document, const std::vector<int>& rows, QPoint delta);
    static std::vector<int> resetOffsets(CResourceHolder& document, const std::vector<int>& rows);

private:
    QPoint m_origin = kInitialOrigin;
};
