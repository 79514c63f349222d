#pragma once

#include <QImage>
#include <QRect>

// The smallest rectangle within `area` holding every pixel of `picture` that
// is not fully transparent; an empty rectangle when there is none. The
// picture is 32-bit ARGB (premultiplied or not); `area` lies inside it.
QRect opaqueBounds(const QImage& picture, const QRect& area);
