#include "params/ui/CProgressWindowBar.h"

#include "params/ui/CGuiColors.h"
#include "params/CTaskProgressText.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

CProgressWindowBar::CProgressWindowBar(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setProgress(0.0, 0.0, 100.0);
}

void CProgressWindowBar::setProgress(double current, double minimum, double maximum)
{
    const double f = std::clamp(CTaskProgressText::fraction(current, minimum, maximum), 0.0, 1.0);
    std::string text = CTaskProgressText::percentText(current, minimum, maximum);
    if (f == m_fraction && text == m_percent)
        return;
    m_fraction = f;
    m_percent = std::move(text);
    update();
}

int CProgressWindowBar::splitPosition(int left, int right, double fraction)
{
    return left + static_cast<int>(std::lround((right - left) * std::clamp(fraction, 0.0, 1.0)));
}

QColor CProgressWindowBar::scaled(const QColor& color, double factor)
{
    auto channel = [factor](int c) { return std::clamp(static_cast<int>(std::lround(c * factor)), 0, 255); };
    return QColor(channel(color.red()), channel(color.green()), channel(color.blue()), color.alpha());
}

QSize CProgressWindowBar::sizeHint() const
{
    return {360, fontMetrics().height() + 12};
}

QSize CProgressWindowBar::minimumSizeHint() const
{
    return {120, fontMetrics().height() + 12};
}

void CProgressWindowBar::paintEvent(QPaintEvent*)
{
    const CGuiColors& colors = CGuiColors::instance();
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int left = inner.left();
    const int right = inner.left() + inner.width();
    const int split = splitPosition(left, right, m_fraction);

    auto fillPart = [&](int from, int to, const QColor& color) {
        if (to <= from)
            return;
        QLinearGradient gradient(from, 0, to, 0);
        gradient.setColorAt(0.0, color);
        gradient.setColorAt(1.0, scaled(color, kGradientFactor));
        p.fillRect(QRect(from, inner.top(), to - from, inner.height()), gradient);
    };
    fillPart(left, split, colors.qcolor(CGuiColors::FocusedArea));
    fillPart(split, right, colors.qcolor(CGuiColors::UnfocusedArea));

    p.setPen(colors.qcolor(CGuiColors::DialogText));
    p.drawRect(frame);

    // A dark copy one pixel down and right keeps the figures readable over
    // both the bright and the dark end of the gradients.
    const QString text = QString::fromStdString(m_percent);
    p.setPen(QColor(0, 0, 0));
    p.drawText(inner.translated(1, 1), Qt::AlignCenter, text);
    p.setPen(colors.qcolor(CGuiColors::DialogText));
    p.drawText(inner, Qt::AlignCenter, text);
}
