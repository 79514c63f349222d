#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <cstdint>

class CResourceHolder;

// A world drawn without the editor: the preview instance of a world is
// built, stepped a number of game steps and drawn into an image, with the
// world's drawing point at `origin`.
class CWorldPicture {
public:
    static constexpr int kMaxSide = 16384;

    // A null image when the row names no world or the size is not within
    // 1..kMaxSide on each side.
    static QImage render(const CResourceHolder& document, int worldIndex, std::int64_t steps, QSize size,
                         QPoint origin, QColor background = Qt::transparent);
};
