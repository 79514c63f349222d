#include "grid/ui/CTitledTextView.h"

#include <QApplication>
#include <QPainter>

CTitledTextView::CTitledTextView(QWidget* parent) : QWidget(parent) { setMinimumSize(40, 40); }

void CTitledTextView::setInfo(const QString& title, const QString& text)
{
    m_title = title;
    m_text = text;
    update();
}

QRect CTitledTextView::textArea(const QRect& pane)
{
    const int vertical = pane.height() >= 49 ? kInset : 0;
    return pane.adjusted(kInset, vertical, -kInset, -vertical);
}

void CTitledTextView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().color(QPalette::Text));
    QRect area = textArea(rect());
    if (!m_title.isEmpty()) {
        QFont bold = QApplication::font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.3);
        p.setFont(bold);
        QRect used;
        p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_title, &used);
        area.setTop(used.bottom() + kInset);
    }
    p.setFont(QApplication::font());
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_text);
}
