#include "kinds/userinterfaces/ui/CBitmapPicture.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/userinterfaces/CPictureRef.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>

namespace {
// Larger kinds without an image are not worth drawing onto a button.
constexpr int kLargestDrawn = 4096;
} // namespace

QImage CBitmapPicture::of(const CResourceHolder& holder, const CPictureRef& ref)
{
    if (ref.id.empty())
        return {};
    int index = ref.index;
    const CResourceItem* remembered = index >= 0 ? holder.get(GroupBitmaps, index) : nullptr;
    if (!remembered || remembered->id() != ref.id)
        index = holder.findById(GroupBitmaps, ref.id);
    return ofRow(holder, index);
}

QImage CBitmapPicture::ofRow(const CResourceHolder& holder, int index)
{
    const auto* buffer = dynamic_cast<const CDisplayBuffer*>(index >= 0 ? holder.get(GroupBitmaps, index) : nullptr);
    if (!buffer)
        return {};
    const QImage view = buffer->imageView();
    if (!view.isNull())
        return view;
    const int w = static_cast<int>(buffer->width());
    const int h = static_cast<int>(buffer->height());
    if (w <= 0 || h <= 0 || w > kLargestDrawn || h > kLargestDrawn)
        return {};
    QImage drawn(w, h, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    buffer->drawWithoutOffset(painter);
    return drawn;
}
