#include "media/image/OpaqueBounds.h"

#include <algorithm>

QRect opaqueBounds(const QImage& picture, const QRect& area)
{
    // Every pixel that is not fully transparent lies between the extreme
    // rows and columns that hold one, so one pass finds the whole box.
    int left = area.right() + 1, right = -1, top = area.bottom() + 1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}
