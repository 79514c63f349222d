#pragma once

#include "params/ui/CMVT_Parameter.h"

class QCheckBox;

// A yes/no value as a check box carrying the label.
class CMVT_ParamBoolean : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamBoolean(QWidget* parent = nullptr);
    const char* kindName() const override { return "Boolean"; }

    void setValue(bool value);
    bool value() const;
    QCheckBox* checkBox() const { return m_box; }

    bool hasValue() const override { return true; }
    std::string valueText() const override;
    void setValueText(const std::string& text) override;
    void rememberDefault() override { m_default = value(); }
    void resetToDefault() override { setValue(m_default); }

protected:
    void onLabelChanged() override;

private:
    QCheckBox* m_box;
    bool m_default = false;
    bool m_setting = false;
};
