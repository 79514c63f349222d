#include "params/ui/CPictureButton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <qdrawutil.h>

#include <algorithm>

namespace {
constexpr int kTitleFlags = Qt::AlignCenter | Qt::TextShowMnemonic;
}

CPictureButton::CPictureButton(QWidget* parent) : QAbstractButton(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
}

void CPictureButton::setPictures(const Pictures& pictures)
{
    m_pictures = pictures;
    updateGeometry();
    update();
}

void CPictureButton::setBorder(bool border)
{
    m_border = border;
    updateGeometry();
    update();
}

QSize CPictureButton::titleSize() const
{
    if (text().isEmpty())
        return {};
    return fontMetrics().size(Qt::TextShowMnemonic, text());
}

QSize CPictureButton::contentSize() const
{
    int width = 0;
    int height = 0;
    int parts = 0;
    for (const QSize& s : {m_pictures.image.size(), titleSize(), m_pictures.imageRight.size()}) {
        if (s.isEmpty())
            continue;
        width += s.width();
        height = std::max(height, s.height());
        ++parts;
    }
    if (parts > 1)
        width += (parts - 1) * kSpacing;
    return {width, height};
}

QSize CPictureButton::sizeHint() const
{
    if (!m_pictures.any()) {
        // The ordinary push button the style would draw for this title.
        QStyleOptionButton option;
        option.initFrom(this);
        option.text = text();
        const QSize content = titleSize().expandedTo(QSize(0, fontMetrics().height()));
        return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
    }
    // A background picture is drawn at its own size unless the content needs more.
    const QSize content = contentSize() + QSize(2 * kMargin, 2 * kMargin);
    return content.expandedTo(m_pictures.backgroundUp.size()).expandedTo(m_pictures.backgroundDown.size());
}

CPictureButton::Placement CPictureButton::placement() const
{
    const QSize content = contentSize();
    int x = (width() - content.width()) / 2;
    const int middle = height() / 2;
    Placement p;
    auto place = [&](const QSize& size) {
        if (size.isEmpty())
            return QRect();
        const QRect r(x, middle - size.height() / 2, size.width(), size.height());
        x += size.width() + kSpacing;
        return r;
    };
    p.image = place(m_pictures.image.size());
    p.title = place(titleSize());
    p.imageRight = place(m_pictures.imageRight.size());
    return p;
}

void CPictureButton::paintEvent(QPaintEvent*)
{
    if (m_pictures.any()) {
        QPainter painter(this);
        paintPictureLook(painter);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    option.features = QStyleOptionButton::None;
    if (pressedLook())
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    if (isChecked())
        option.state |= QStyle::State_On;
    painter.drawControl(QStyle::CE_PushButton, option);
}

void CPictureButton::paintPictureLook(QPainter& painter)
{
    const bool down = pressedLook();
    const QImage& background =
        down && !m_pictures.backgroundDown.isNull() ? m_pictures.backgroundDown : m_pictures.backgroundUp;
    // Without a background picture the button keeps a face of its own, so
    // that its title stays readable on whatever it sits on.
    if (!background.isNull())
        painter.drawImage(rect(), background);
    else
        painter.fillRect(rect(), palette().brush(down ? QPalette::Midlight : QPalette::Button));

    Placement p = placement();
    // Without a picture of its own for the pressed state, the content moves
    // by a pixel so that a press is still seen.
    const QPoint shift = down && m_pictures.backgroundDown.isNull() ? QPoint(1, 1) : QPoint();
    if (!p.image.isEmpty())
        painter.drawImage(p.image.topLeft() + shift, m_pictures.image);
    if (!p.title.isEmpty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(p.title.translated(shift), kTitleFlags, text());
    }
    if (!p.imageRight.isEmpty())
        painter.drawImage(p.imageRight.topLeft() + shift, m_pictures.imageRight);

    if (m_border)
        qDrawShadePanel(&painter, rect(), palette(), down, 1);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
