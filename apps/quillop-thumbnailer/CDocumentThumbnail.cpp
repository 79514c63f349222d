#include "CDocumentThumbnail.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/worlds/CWorldPicture.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/OpaqueBounds.h"

#include <algorithm>
#include <cmath>

namespace {
// What render-world draws when given no --size or --origin.
constexpr QSize kWorldFrame(640, 480);
constexpr QPoint kWorldOrigin(94, 94);
} // namespace

QImage CDocumentThumbnail::make(const CResourceHolder& document, int side)
{
    if (side < 1 || side > kMaxSide)
        return {};
    const QImage picture = firstPicture(document);
    return picture.isNull() ? QImage() : fitted(picture, side);
}

// The smallest rectangle holding every pixel that is not fully transparent;
// empty for a picture with none.
QRect CDocumentThumbnail::visibleArea(const QImage& picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    return opaqueBounds(argb, argb.rect());
}

QImage CDocumentThumbnail::firstPicture(const CResourceHolder& document)
{
    if (document.count(GroupWorlds) > 0) {
        // The world fills only part of the frame render-world draws; a
        // thumbnail shows what is drawn, without the empty margin.
        const QImage world = CWorldPicture::render(document, 0, 0, kWorldFrame, kWorldOrigin);
        const QRect drawn = visibleArea(world);
        if (!drawn.isEmpty())
            return world.copy(drawn);
    }
    for (int i = 0; i < document.count(GroupBitmaps); ++i) {
        // A record kept as read (an image this build cannot decode) has no
        // picture to show; the next one may.
        const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, i));
        const QImage view = bitmap ? bitmap->imageView() : QImage();
        if (!view.isNull())
            return view;
    }
    return {};
}

QImage CDocumentThumbnail::fitted(const QImage& picture, int side)
{
    const double scale = static_cast<double>(side) / std::max(picture.width(), picture.height());
    const QSize size(std::max(1, static_cast<int>(std::lround(picture.width() * scale))),
                     std::max(1, static_cast<int>(std::lround(picture.height() * scale))));
    // Small pixel art is enlarged without blurring; large pictures are
    // shrunk smoothly.
    const Qt::TransformationMode mode = scale > 1.0 ? Qt::FastTransformation : Qt::SmoothTransformation;
    return picture.convertToFormat(QImage::Format_ARGB32).scaled(size, Qt::IgnoreAspectRatio, mode);
}
