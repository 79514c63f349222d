#include "params/ui/CMVT_ParamInfo.h"

#include <QLabel>

CMVT_ParamInfo::CMVT_ParamInfo(QWidget* parent) : CMVT_Parameter(parent), m_text(new QLabel(this))
{
    hideLabel();
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addControl(m_text, 1);
}

void CMVT_ParamInfo::onLabelChanged() { m_text->setText(QString::fromStdString(label())); }

QString CMVT_ParamInfo::shownText() const { return m_text->text(); }
