#include "kinds/animations/CAnimationCursor.h"

#include "core/CResourceHolder.h"
#include "core/IntRange.h"
#include "kinds/animations/CAnimationItem.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>


void CAnimationCursor::copyFrom(const CAnimationCursor& other)
{
    *this = other;
}

const CResourceGroup* CAnimationCursor::documentAnimations() const
{
    return m_document ? m_document->group(GroupAnimations) : nullptr;
}

const CAnimationItem* CAnimationCursor::animation() const
{
    if (!m_document)
        return nullptr;
    return dynamic_cast<const CAnimationItem*>(m_document->get(GroupAnimations, m_animationIndex));
}

int CAnimationCursor::currentBitmapIndex() const
{
    const CAnimationItem* a = animation();
    const CAnimationFrame* f = a ? a->frame(frameIndex()) : nullptr;
    return f ? f->bitmap : -1;
}

int CAnimationCursor::currentOffsetX() const
{
    const CAnimationItem* a = animation();
    const CAnimationFrame* f = a ? a->frame(frameIndex()) : nullptr;
    return f ? f->offsetX : 0;
}

int CAnimationCursor::currentOffsetY() const
{
    const CAnimationItem* a = animation();
    const CAnimationFrame* f = a ? a->frame(frameIndex()) : nullptr;
    return f ? f->offsetY : 0;
}

const CDisplayBuffer* CAnimationCursor::currentBitmap() const
{
    const int bitmap = currentBitmapIndex();
    if (bitmap < 0 || !m_document)
        return nullptr;
    return dynamic_cast<const CDisplayBuffer*>(m_document->get(GroupBitmaps, bitmap));
}

int CAnimationCursor::drawWithExplicitOffsets(QPainter& painter, int x, int y) const
{
    const CDisplayBuffer* bitmap = currentBitmap();
    if (!bitmap)
        return 0;
    const QPoint corner(toPixel(double(x) + currentOffsetX() + bitmap->offsetX()),
                        toPixel(double(y) + currentOffsetY() + bitmap->offsetY()));
    // The bitmap always adds its own offsets when it draws; asked to draw at
    // the origin it puts its corner at its truncated offsets, so moving the
    // painter by the difference lands the corner exactly where computed.
    const QPoint ownCorner(toPixel(bitmap->offsetX()), toPixel(bitmap->offsetY()));
    painter.save();
    painter.translate(corner - ownCorner);
    const int drawn = bitmap->draw(painter, 0, 0);
    painter.restore();
    return drawn;
}

int CAnimationCursor::draw(QPainter& painter, int x, int y) const
{
    const CAnimationItem* a = animation();
    if (!a || a->animationType() != CAnimationItem::kTypeBitmaps)
        return 0;
    const CDisplayBuffer* bitmap = currentBitmap();
    if (!bitmap)
        return 0;
    return bitmap->draw(painter, toPixel(double(x) + currentOffsetX()), toPixel(double(y) + currentOffsetY()));
}

void CAnimationCursor::seek(double position) { m_cursor.seek(animation(), position); }
void CAnimationCursor::restart() { m_cursor.restart(animation()); }
int CAnimationCursor::start() { return m_cursor.start(animation()); }
bool CAnimationCursor::advance(double elapsed) { return m_cursor.advance(animation(), elapsed); }
bool CAnimationCursor::step() { return m_cursor.step(animation()); }
