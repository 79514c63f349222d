#pragma once

#include "params/ui/CMVT_Parameter.h"

#include <cstdint>

// A signed 64-bit value with its bounds, in a typed edit.
class CMVT_ParamInteger : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamInteger(QWidget* parent = nullptr);
    const char* kindName() const override { return "Integer"; }

    void setMinimum(std::int64_t value);
    void setMaximum(std::int64_t value);
    void setValue(std::int64_t value);
    std::int64_t value() const;
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
    std::int64_t m_default = 0;
};
