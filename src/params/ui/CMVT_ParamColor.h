#pragma once

#include "params/ui/CMVT_Parameter.h"

#include <cstdint>

class QToolButton;

// A colour (0x00BBGGRR and an alpha) shown as a swatch; the swatch opens
// the colour chooser.
class CMVT_ParamColor : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamColor(QWidget* parent = nullptr);
    const char* kindName() const override { return "Color"; }

    void setValue(std::uint32_t rgb);
    std::uint32_t value() const { return m_rgb; }
    void setAlpha(int alpha) { m_alpha = alpha; }
    int alpha() const { return m_alpha; }

    bool pick();
    QToolButton* swatch() const { return m_swatch; }

    bool hasValue() const override { return true; }
    std::string valueText() const override;
    void setValueText(const std::string& text) override;
    void rememberDefault() override { m_default = m_rgb; }
    void resetToDefault() override { setValue(m_default); }

private:
    void showValue();

    QToolButton* m_swatch;
    std::uint32_t m_rgb = 0;
    int m_alpha = 255;
    std::uint32_t m_default = 0;
};
