#include "params/ui/CMVT_ParamBoolean.h"

#include <QCheckBox>

CMVT_ParamBoolean::CMVT_ParamBoolean(QWidget* parent) : CMVT_Parameter(parent), m_box(new QCheckBox(this))
{
    hideLabel();
    addControl(m_box, 1);
    connect(m_box, &QCheckBox::toggled, this, [this] {
        if (!m_setting)
            notifyChanged();
    });
}

void CMVT_ParamBoolean::onLabelChanged() { m_box->setText(QString::fromStdString(label())); }

void CMVT_ParamBoolean::setValue(bool value)
{
    m_setting = true;
    m_box->setChecked(value);
    m_setting = false;
}

bool CMVT_ParamBoolean::value() const { return m_box->isChecked(); }

std::string CMVT_ParamBoolean::valueText() const { return value() ? "1" : "0"; }
void CMVT_ParamBoolean::setValueText(const std::string& text) { setValue(text == "1"); }
