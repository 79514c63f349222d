#include "params/ui/CMVT_ParamText.h"

#include "params/ui/CMVT_EditTyped.h"

#include <algorithm>
#include <climits>

CMVT_ParamText::CMVT_ParamText(QWidget* parent)
    : CMVT_Parameter(parent), m_edit(new CMVT_EditTyped(this, CMVT_EditTyped::TypeText))
{
    addControl(m_edit, 1);
    watchEdit(m_edit);
}

void CMVT_ParamText::setMultiLine(bool multiLine)
{
    const std::string text = value();
    m_edit->setType(multiLine ? CMVT_EditTyped::TypeMultiLineText : CMVT_EditTyped::TypeText);
    m_edit->setTextValue(text);
    refreshLabel();
}

bool CMVT_ParamText::isMultiLine() const { return m_edit->isMultiLine(); }

void CMVT_ParamText::setMinimumLength(int n) { m_edit->setTextBounds(n, m_edit->maxLength()); refreshLabel(); }
void CMVT_ParamText::setMaximumLength(int n) { m_edit->setTextBounds(m_edit->minLength(), n); refreshLabel(); }

void CMVT_ParamText::setValue(const std::string& text)
{
    m_edit->setTextValue(text);
    refreshLabel();
}

const std::string& CMVT_ParamText::value() const { return m_edit->textValue(); }
bool CMVT_ParamText::isValid() const { return m_edit->isValid(); }

int CMVT_ParamText::lineCount(const std::string& text)
{
    const auto feeds = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return feeds + (text.empty() ? 0 : 1);
}

std::string CMVT_ParamText::statusText() const
{
    const std::string& text = value();
    std::string s = ": (Nb Chars: " + std::to_string(text.size());
    if (m_edit->minLength() != 0)
        s += ", Min: " + std::to_string(m_edit->minLength());
    if (m_edit->maxLength() != INT_MAX)
        s += ", Max: " + std::to_string(m_edit->maxLength());
    if (isMultiLine())
        s += ", " + std::to_string(lineCount(text)) + " Lines";
    else
        s += ", Text = " + text;
    return s + ")";
}

std::string CMVT_ParamText::valueText() const { return value(); }
void CMVT_ParamText::setValueText(const std::string& text) { setValue(text); }
