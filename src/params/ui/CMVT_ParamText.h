#pragma once

#include "params/ui/CMVT_Parameter.h"

// A string with bounds on its length, on one line or on several.
class CMVT_ParamText : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamText(QWidget* parent = nullptr);
    const char* kindName() const override { return "Text"; }

    void setMultiLine(bool multiLine);
    bool isMultiLine() const;
    void setMinimumLength(int length);
    void setMaximumLength(int length);
    void setValue(const std::string& text);
    const std::string& value() const;
    bool isValid() const;

    // Line feeds, plus one for a text that is not empty.
    static int lineCount(const std::string& text);

    CMVT_EditTyped* edit() const override { return m_edit; }
    std::string statusText() const override;

    bool hasValue() const override { return true; }
    std::string valueText() const override;
    void setValueText(const std::string& text) override;
    void rememberDefault() override { m_default = value(); }
    void resetToDefault() override { setValue(m_default); }

private:
    CMVT_EditTyped* m_edit;
    std::string m_default;
};
