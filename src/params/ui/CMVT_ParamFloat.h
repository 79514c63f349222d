#pragma once

#include "params/ui/CMVT_Parameter.h"

// A 64-bit real with its bounds, in a typed edit.
class CMVT_ParamFloat : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamFloat(QWidget* parent = nullptr);
    const char* kindName() const override { return "Float"; }

    void setMinimum(double value);
    void setMaximum(double value);
    void setValue(double value);
    double value() const;
    bool isValid() const;

    CMVT_EditTyped* edit() const override { return m_edit; }
    std::string statusText() const override;

    bool hasValue() const override { return true; }
    std::string valueText() const override;
    void setValueText(const std::string& text) override;
    void rememberDefault() override { m_default = value(); }
    void resetToDefault() override { setValue(m_default); }

private:
    CMVT_EditTyped* m_edit;
    double m_default = 0.0;
};
