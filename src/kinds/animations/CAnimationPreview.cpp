#include "kinds/animations/CAnimationPreview.h"

#include "kinds/animations/CAnimationFrameTexts.h"
#include "kinds/animations/CAnimationItem.h"
#include "media/image/CDisplayBuffer.h"

#include <QPainter>
#include <QPicture>

void CAnimationPreview::setDocument(const CResourceHolder* document)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_cursor.setDocument(document);
}

void CAnimationPreview::restart(int index)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_cursor.setAnimationIndex(index);
    m_cursor.restart();
}

int CAnimationPreview::animationIndex() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_cursor.animationIndex();
}

CAnimationCursor CAnimationPreview::cursor() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_cursor;
}

bool CAnimationPreview::step()
{
    if (!m_shown)
        return false;
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_cursor.playing())
        return false;
    // The step that stops a "Once" mode still changes what is shown.
    m_cursor.advance(1.0);
    return true;
}

void CAnimationPreview::hold(int frame)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_cursor.setRemaining(kHoldSteps);
    m_cursor.setFrameIndex(frame);
}

int CAnimationPreview::previousFrame(const CAnimationCursor& cursor)
{
    const CAnimationItem* animation = cursor.animation();
    const int n = animation ? animation->frameCount() : 0;
    if (n < 2 || !animation->validFrame(cursor.frameIndex()))
        return -1;
    return (cursor.frameIndex() + (cursor.direction() ? n - 1 : 1)) % n;
}

QRect CAnimationPreview::drawnBounds() const
{
    CAnimationCursor frame = cursor();
    const CAnimationItem* animation = frame.animation();
    // Recorded, not painted: the frames are drawn as the preview draws them,
    // so the bounds cannot disagree with the picture.
    QPicture picture;
    {
        QPainter painter(&picture);
        for (int f = 0; animation && f < animation->frameCount(); ++f) {
            frame.setFrameIndex(f);
            frame.draw(painter, m_origin.x(), m_origin.y());
        }
    }
    return picture.boundingRect().united(QRect(m_origin - QPoint(8, 8), QSize(16, 16)));
}

void CAnimationPreview::render(CDisplayBuffer& target, QSize size, const Colors& colors,
                               const std::string& frameRateText, const QTransform& view) const
{
    if (!target.create(CDisplayBuffer::DisplayBufferKind, size.width(), size.height()))
        return;
    const CAnimationCursor shown = cursor();
    const CAnimationItem* animation = shown.animation();
    target.paint([&](QPainter& painter) {
        const QRect area(QPoint(0, 0), size);
        painter.fillRect(area, colors.face);
        painter.setTransform(view);
        const QRect visible = view.inverted().mapRect(QRectF(area)).toAlignedRect();
        painter.setPen(QPen(colors.lines, 0));
        painter.drawLine(visible.left(), m_origin.y(), visible.right() + 1, m_origin.y());
        painter.drawLine(m_origin.x(), visible.top(), m_origin.x(), visible.bottom() + 1);
        if (m_onionSkin) {
            CAnimationCursor before = shown;
            before.setFrameIndex(previousFrame(shown));
            painter.setOpacity(kOnionOpacity);
            if (before.frameIndex() >= 0)
                before.draw(painter, m_origin.x(), m_origin.y());
            painter.setOpacity(1.0);
        }
        // Only animations of frames of bitmaps are drawn.
        shown.draw(painter, m_origin.x(), m_origin.y());
        painter.resetTransform();
        painter.setPen(colors.text);
        const std::string text = CAnimationFrameTexts::previewText(
            frameRateText, shown.frameIndex(), animation ? animation->frameCount() : 0, shown.remaining());
        painter.drawText(area.adjusted(4, 4, -4, -4), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(text));
    });
}
