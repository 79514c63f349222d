#include "params/ui/CMVT_ParamButton.h"

CMVT_ParamButton::CMVT_ParamButton(QWidget* parent) : CMVT_Parameter(parent), m_button(new CPictureButton(this))
{
    hideLabel();
    addControl(m_button);
    addStretch();
    connect(m_button, &CPictureButton::clicked, this, [this] { notifyChanged(); });
}

void CMVT_ParamButton::setPictures(const CPictureButton::Pictures& pictures, bool border)
{
    m_button->setPictures(pictures);
    m_button->setBorder(border);
}

void CMVT_ParamButton::onLabelChanged() { m_button->setText(QString::fromStdString(label())); }
