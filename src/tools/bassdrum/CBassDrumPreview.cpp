#include "tools/bassdrum/CBassDrumPreview.h"

#include "media/audio/CSampleBuffer.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

QImage CBassDrumPreview::draw(const CSampleBuffer& sound, int width, int height)
{
    const int w = std::clamp(width, 1, kMaxSide);
    const int h = std::clamp(height, 1, kMaxSide);
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(QColor(96, 96, 96));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (w > 2 && h > 2)
        painter.fillRect(1, 1, w - 2, h - 2, Qt::black);
    const int half = h / 2;
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, half, w - 1, half);

    const std::uint32_t n = sound.count();
    if (n == 0)
        return picture;
    auto yOf = [half](double s) {
        // Samples far off the scale are kept inside what a coordinate can hold.
        const double y = std::trunc((1.0 - s) * half);
        return static_cast<int>(std::clamp(y, -1e6, 1e6));
    };
    QPolygon line;
    line.reserve(static_cast<qsizetype>(n) + 1);
    line << QPoint(0, yOf(sound.get(0)));
    // Point n lies past the last sample, so the line ends on the centre line at x = w.
    for (std::uint32_t i = 1; i <= n; ++i)
        line << QPoint(static_cast<int>(std::trunc(static_cast<double>(i) * w / n + 0.5)), yOf(sound.get(i)));
    painter.setPen(QColor(0, 255, 128));
    painter.drawPolyline(line);
    return picture;
}
