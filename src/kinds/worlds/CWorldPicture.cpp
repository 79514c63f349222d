#include "kinds/worlds/CWorldPicture.h"

#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/WorldInstance.h"

#include <QPainter>

QImage CWorldPicture::render(const CResourceHolder& document, int worldIndex, std::int64_t steps, QSize size,
                             QPoint origin, QColor background)
{
    if (!CWorldLoopGuard::world(document, worldIndex) || size.width() < 1 || size.height() < 1 ||
        size.width() > kMaxSide || size.height() > kMaxSide)
        return {};
    WorldInstance preview;
    preview.build(document, worldIndex);
    for (std::int64_t i = 0; i < steps; ++i)
        preview.step(1.0);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    preview.draw(painter, origin.x(), origin.y(), image.rect());
    painter.end();
    return image;
}
