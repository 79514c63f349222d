#include "params/ui/CMVT_ParamFloat.h"

#include "params/CValueFormat.h"
#include "params/ui/CMVT_EditTyped.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>

CMVT_ParamFloat::CMVT_ParamFloat(QWidget* parent)
    : CMVT_Parameter(parent), m_edit(new CMVT_EditTyped(this, CMVT_EditTyped::TypeFloat))
{
    addControl(m_edit, 1);
    watchEdit(m_edit);
}

void CMVT_ParamFloat::setMinimum(double v) { m_edit->setFloatBounds(v, m_edit->floatMax()); refreshLabel(); }
void CMVT_ParamFloat::setMaximum(double v) { m_edit->setFloatBounds(m_edit->floatMin(), v); refreshLabel(); }

void CMVT_ParamFloat::setValue(double v)
{
    m_edit->setFloatValue(v);
    refreshLabel();
}

double CMVT_ParamFloat::value() const { return m_edit->floatValue(); }
bool CMVT_ParamFloat::isValid() const { return m_edit->isValid(); }

std::string CMVT_ParamFloat::statusText() const
{
    std::string s = ": (Float = " + CValueFormat::floatText(m_edit->floatValue());
    if (m_edit->floatMin() != -DBL_MAX)
        s += ", Min: " + CValueFormat::floatText(m_edit->floatMin());
    if (m_edit->floatMax() != DBL_MAX)
        s += ", Max: " + CValueFormat::floatText(m_edit->floatMax());
    return s + ")";
}

std::string CMVT_ParamFloat::valueText() const
{
    // Seventeen digits bring the very same double back.
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value());
    return text;
}

void CMVT_ParamFloat::setValueText(const std::string& text)
{
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str())
        setValue(v);
}
