#include "kinds/maps/CMapCanvasPicture.h"

#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CMapZoomedOutPicture.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>

#include <climits>
#include <cmath>

QRect CMapCanvasPicture::mapArea(const CMapItem& map)
{
    const qint64 width = qint64(map.columnCount()) * std::max(map.cellWidth(), 0);
    const qint64 height = qint64(map.lineCount()) * std::max(map.cellHeight(), 0);
    if (width <= 0 || height <= 0)
        return {};
    return {0, 0, int(std::min<qint64>(width, INT_MAX)), int(std::min<qint64>(height, INT_MAX))};
}

QRectF CMapCanvasPicture::cellRect(const CMapItem& map, const QTransform& view, QPoint cell)
{
    return view.mapRect(QRectF(double(cell.x()) * map.cellWidth(), double(cell.y()) * map.cellHeight(),
                               map.cellWidth(), map.cellHeight()));
}

void CMapCanvasPicture::render(CDisplayBuffer& target, QSize size, const std::vector<QRect>& areas,
                               const Scene& scene, const Style& style)
{
    if (size.isEmpty() || !target.create(CDisplayBuffer::DisplayBufferKind, size.width(), size.height()))
        return;
    target.paint([&](QPainter& painter) {
        if (areas.empty() || static_cast<int>(areas.size()) > kMaxSeparateAreas) {
            QRect box;
            for (const QRect& area : areas)
                box = box.united(area);
            paintArea(painter, size, areas.empty() ? QRect(QPoint(0, 0), size) : box, scene, style);
            return;
        }
        for (const QRect& area : areas)
            paintArea(painter, size, area, scene, style);
    });
}

void CMapCanvasPicture::paintArea(QPainter& painter, QSize size, const QRect& area, const Scene& scene,
                                  const Style& style)
{
    const QRect clip = area.intersected(QRect(QPoint(0, 0), size));
    if (clip.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip);
    painter.fillRect(clip, style.background);
    const QRect whole = scene.map ? mapArea(*scene.map) : QRect();
    if (!scene.map || !scene.document) {
        painter.setPen(style.lines);
        painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
        painter.drawLine(size.width() - 1, 0, 0, size.height() - 1);
    } else if (!whole.isEmpty()) {
        const QImage* zoomedOut =
            scene.zoomedOut ? scene.zoomedOut->picture(*scene.map, *scene.document, scene.view, size) : nullptr;
        if (zoomedOut) {
            painter.drawImage(clip.topLeft(), *zoomedOut, clip);
        } else {
            // The cells, in map pixels: the map's own drawing keeps to the
            // cells the clip can show.
            painter.save();
            painter.setTransform(scene.view, true);
            const QRect mapClip = scene.view.inverted().mapRect(QRectF(clip)).toAlignedRect().adjusted(-1, -1, 1, 1);
            scene.map->drawStretched(painter, *scene.document, QPoint(0, 0), mapClip);
            painter.restore();
        }

        // The frame around the map's whole area: light above and left,
        // dark below and right, just outside the cells.
        const QRectF frame = scene.view.mapRect(QRectF(whole)).adjusted(-1, -1, 0, 0);
        painter.setPen(style.frameLight);
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(style.frameDark);
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());

        const QPoint cell = scene.currentCell;
        if (cell.x() >= 0 && cell.y() >= 0 && cell.x() < scene.map->columnCount() && cell.y() < scene.map->lineCount()) {
            painter.setPen(QPen(style.highlight, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cellRect(*scene.map, scene.view, cell).adjusted(1, 1, -1, -1));
        }
        if (!scene.hover.isEmpty()) {
            // Lit and outlined, so the cells show on light and dark tiles.
            const QRectF cells = cellRect(*scene.map, scene.view, scene.hover.topLeft())
                                     .united(cellRect(*scene.map, scene.view, scene.hover.bottomRight()));
            painter.fillRect(cells, QColor(255, 255, 255, 70));
            painter.setPen(QPen(style.highlight, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cells.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        if (!scene.band.isEmpty()) {
            const QRectF from = cellRect(*scene.map, scene.view, scene.band.topLeft());
            const QRectF to = cellRect(*scene.map, scene.view, scene.band.bottomRight());
            painter.setPen(QPen(style.highlight, 1, Qt::DashLine));
            painter.drawRect(from.united(to));
        }
    }
    // The focus frame, in another colour when the canvas has not the focus.
    painter.setPen(QPen(scene.focused ? style.focused : style.unfocused, kFocusFrame));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, size.width() - 2, size.height() - 2));
    painter.restore();
}
