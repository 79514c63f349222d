#include "kinds/binaryfiles/ui/CBinaryFileInfoView.h"

#include <QApplication>
#include <QPainter>

CBinaryFileInfoView::CBinaryFileInfoView(QWidget* parent) : QWidget(parent) { setMinimumSize(40, 40); }

void CBinaryFileInfoView::setInfo(const QString& title, const QString& text)
{
    m_title = title;
    m_text = text;
    update();
}

QRect CBinaryFileInfoView::textArea(const QRect& pane)
{
    const int vertical = pane.height() >= 49 ? kInset : 0;
    return pane.adjusted(kInset, vertical, -kInset, -vertical);
}

void CBinaryFileInfoView::paintEvent(QPaintEvent*)
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
