#include "kinds/animations/CAnimationCursor.h"

#include "core/CResourceHolder.h"
#include "core/IntRange.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/trajectories/PlayModes.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>

#include <cmath>
#include <limits>

namespace {
// Game steps a frame stays: stored delays below 1 count as 1 so that the
// advance loop always gains time.
double shownSteps(const CAnimationFrame& frame)
{
    return frame.delay > 0 ? double(frame.delay) : 1.0;
}

} // namespace

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
    const CAnimationFrame* f = a ? a->frame(m_frameIndex) : nullptr;
    return f ? f->bitmap : -1;
}

int CAnimationCursor::currentOffsetX() const
{
    const CAnimationItem* a = animation();
    const CAnimationFrame* f = a ? a->frame(m_frameIndex) : nullptr;
    return f ? f->offsetX : 0;
}

int CAnimationCursor::currentOffsetY() const
{
    const CAnimationItem* a = animation();
    const CAnimationFrame* f = a ? a->frame(m_frameIndex) : nullptr;
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

void CAnimationCursor::seek(double position)
{
    const CAnimationItem* a = animation();
    const int n = a ? a->frameCount() : 0;
    if (n <= 0 || !std::isfinite(position))
        return;
    double p = position >= 0 ? std::fmod(position, n) : n - std::fmod(-position, n);
    // A negative whole number of turns lands on n itself, one past the last
    // frame: that is frame 0 again.
    if (p >= n)
        p -= n;
    const double whole = std::floor(p);
    m_frameIndex = static_cast<int>(whole);
    m_remaining = shownSteps(*a->frame(m_frameIndex)) * (p - whole);
}

void CAnimationCursor::restart()
{
    stop();
    start();
    play();
}

int CAnimationCursor::start()
{
    const CAnimationItem* a = animation();
    if (!a || a->frameCount() <= 0) {
        m_remaining = 0.0;
        m_frameIndex = 0;
        m_forward = 1;
        return 0;
    }
    const bool backward = a->playMode() >= PlayBackwardOnce && a->playMode() <= PlayBackwardForwardLoop;
    m_forward = backward ? 0 : 1;
    m_frameIndex = backward ? a->frameCount() - 1 : 0;
    m_remaining = shownSteps(*a->frame(m_frameIndex));
    return 1;
}

bool CAnimationCursor::advance(double elapsed)
{
    if (!m_playing)
        return false;
    // Every step adds a finite delay; a time left that is not a finite
    // number would never become positive again.
    if (!std::isfinite(m_remaining))
        m_remaining = 0.0;
    while (!(m_remaining * 1e11 > 0)) {
        if (!step())
            return false;
    }
    // Time that is not a finite number cannot be played through; it is taken
    // as no time at all rather than poisoning the time left.
    if (std::isfinite(elapsed))
        m_remaining -= elapsed;
    return true;
}

void CAnimationCursor::stopAt(int frame)
{
    m_frameIndex = frame;
    m_playing = 0;
}

bool CAnimationCursor::step()
{
    const CAnimationItem* a = animation();
    const int n = a ? a->frameCount() : 0;
    if (n <= 1) {
        start();
        stop();
        return false;
    }
    const int mode = a->playMode();
    int i = m_frameIndex;
    if (mode < 0 || mode >= kPlayModeCount) {
        // No order to follow: the frame stays.
    } else if (m_forward) {
        if (i < n - 1) {
            ++i;
        } else {
            switch (mode) {
            case PlayForwardOnce:
            case PlayBackwardOnce:
            case PlayBackwardForwardOnce:
                stopAt(n - 1);
                return false;
            case PlayForwardLoop:
                i = 0;
                break;
            case PlayForwardBackwardOnce:
            case PlayForwardBackwardLoop:
            case PlayBackwardForwardLoop:
                m_forward = 0;
                i = n - 2;
                break;
            case PlayBackwardLoop:
                m_forward = 0;
                i = n - 1;
                break;
            }
        }
    } else {
        if (i > 0) {
            --i;
        } else {
            switch (mode) {
            case PlayForwardOnce:
            case PlayBackwardOnce:
            case PlayForwardBackwardOnce:
                stopAt(0);
                return false;
            case PlayForwardLoop:
                m_forward = 1;
                i = 0;
                break;
            case PlayForwardBackwardLoop:
            case PlayBackwardForwardLoop:
            case PlayBackwardForwardOnce:
                m_forward = 1;
                i = 1;
                break;
            case PlayBackwardLoop:
                i = n - 1;
                break;
            }
        }
    }
    m_frameIndex = i;
    // A frame index set from outside may lie beyond a list that has since
    // shrunk, or below 0; walking back into the list takes one game step per
    // frame, so that the walk cannot spin without time passing.
    m_remaining += a->validFrame(i) ? shownSteps(*a->frame(i)) : 1.0;
    return true;
}
