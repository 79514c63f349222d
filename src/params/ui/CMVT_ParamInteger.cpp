#include "params/ui/CMVT_ParamInteger.h"

#include "params/CValueFormat.h"
#include "params/ui/CMVT_EditTyped.h"

#include <cstdlib>
#include <limits>

CMVT_ParamInteger::CMVT_ParamInteger(QWidget* parent)
    : CMVT_Parameter(parent), m_edit(new CMVT_EditTyped(this, CMVT_EditTyped::TypeInteger))
{
    addControl(m_edit, 1);
    watchEdit(m_edit);
}

void CMVT_ParamInteger::setMinimum(std::int64_t v) { m_edit->setIntegerBounds(v, m_edit->integerMax()); refreshLabel(); }
void CMVT_ParamInteger::setMaximum(std::int64_t v) { m_edit->setIntegerBounds(m_edit->integerMin(), v); refreshLabel(); }

void CMVT_ParamInteger::setValue(std::int64_t v)
{
    m_edit->setIntegerValue(v);
    refreshLabel();
}

std::int64_t CMVT_ParamInteger::value() const { return m_edit->integerValue(); }
bool CMVT_ParamInteger::isValid() const { return m_edit->isValid(); }

std::string CMVT_ParamInteger::statusText() const
{
    std::string s = ": (Integer = " + CValueFormat::integerText(m_edit->integerValue());
    if (m_edit->integerMin() != std::numeric_limits<std::int64_t>::min())
        s += ", Min: " + CValueFormat::integerText(m_edit->integerMin());
    if (m_edit->integerMax() != std::numeric_limits<std::int64_t>::max())
        s += ", Max: " + CValueFormat::integerText(m_edit->integerMax());
    return s + ")";
}

std::string CMVT_ParamInteger::valueText() const { return std::to_string(value()); }

void CMVT_ParamInteger::setValueText(const std::string& text)
{
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str())
        setValue(v);
}
