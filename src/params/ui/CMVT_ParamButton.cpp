#include "params/ui/CMVT_ParamButton.h"

#include <QPushButton>

CMVT_ParamButton::CMVT_ParamButton(QWidget* parent) : CMVT_Parameter(parent), m_button(new QPushButton(this))
{
    hideLabel();
    m_button->setAutoDefault(false);
    addControl(m_button);
    addStretch();
    connect(m_button, &QPushButton::clicked, this, [this] { notifyChanged(); });
}

void CMVT_ParamButton::onLabelChanged() { m_button->setText(QString::fromStdString(label())); }
