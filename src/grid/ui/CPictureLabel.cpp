#include "grid/ui/CPictureLabel.h"

#include <QPixmap>

CPictureLabel::CPictureLabel(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setMargin(kMargin);
}

QSize CPictureLabel::fittedSize(QSize picture, QSize room)
{
    if (picture.isEmpty() || room.isEmpty())
        return {};
    return picture.scaled(room, Qt::KeepAspectRatio);
}

void CPictureLabel::setPicture(const QImage& picture)
{
    m_picture = picture;
    setAlignment(Qt::AlignCenter);
    showFitted();
}

void CPictureLabel::setMessage(const QString& html)
{
    m_picture = QImage();
    setPixmap(QPixmap());
    setAlignment(Qt::AlignTop | Qt::AlignLeft);
    setText(html);
}

void CPictureLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    if (!m_picture.isNull())
        showFitted();
}

void CPictureLabel::showFitted()
{
    const QSize room = contentsRect().size() - QSize(2 * kMargin, 2 * kMargin);
    const QSize size = fittedSize(m_picture.size(), room);
    if (size.isEmpty()) {
        setPixmap(QPixmap());
        return;
    }
    // Enlarged pixels stay sharp: small game pictures are pixel art.
    const bool enlarging = size.width() > m_picture.width();
    setPixmap(QPixmap::fromImage(
        m_picture.scaled(size, Qt::KeepAspectRatio, enlarging ? Qt::FastTransformation : Qt::SmoothTransformation)));
}
