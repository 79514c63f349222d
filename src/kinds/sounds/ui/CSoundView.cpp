#include "kinds/sounds/ui/CSoundView.h"

#include "kinds/sounds/CMVT_WavMemory.h"

#include <QPainter>

CSoundView::CSoundView(QWidget* parent) : QWidget(parent) { setMinimumSize(40, 40); }

void CSoundView::setSound(const CMVT_WavMemory* sound, bool swapChannels)
{
    m_sound = sound;
    m_swapChannels = swapChannels;
    update();
}

void CSoundView::paintSound(QPainter& painter, const QRect& rect, const CMVT_WavMemory& sound, bool swapChannels)
{
    // The first channel in a cool colour at the back, the second in a warm
    // one in front: the swap exchanges them together with their colours.
    const CMVT_WavMemory::WaveColors colors{QColor(150, 150, 150), QColor(60, 120, 200), QColor(230, 130, 30)};
    painter.save();
    painter.setClipRect(rect);
    sound.draw(painter, rect, swapChannels, colors, QColor(200, 210, 230));
    painter.restore();
}

void CSoundView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (!m_sound) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(rect(), Qt::AlignCenter, tr("No item"));
        return;
    }
    // As many lines as the text takes at this width: a narrow view wraps
    // the sound's format and size rather than cutting them.
    const QString heading = QString::fromStdString(m_sound->id() + "\n" + m_sound->specsText());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRect room = rect().adjusted(8, 8, -8, 0);
    QRect title = fontMetrics().boundingRect(room, flags, heading);
    title.setWidth(room.width());
    p.setPen(palette().color(QPalette::Text));
    p.drawText(title, flags, heading);
    const QRect wave = rect().adjusted(8, title.bottom() + 8, -8, -8);
    if (!wave.isEmpty())
        paintSound(p, wave, *m_sound, m_swapChannels);
}
