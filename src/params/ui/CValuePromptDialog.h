#pragma once

#include <QDialog>

#include <string>

class CMVT_ParamText;
class CMVT_ParameterList;

// The value prompt of the grids: a resizable window with the given title, a
// parameter sheet headed by the prompt text, the editable "&Value" (on
// several lines when asked) and the value it had before, with OK and Cancel.
class CValuePromptDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kValueLabel = "&Value";
    static constexpr const char* kPreviousLabel = "Previous Value:\n";

    CValuePromptDialog(const std::string& title, const std::string& prompt, const std::string& value, bool multiLine,
                       QWidget* parent = nullptr);
    // The same with an edit that starts from another text than the value
    // shown as previous (a cell edit begun by typing).
    CValuePromptDialog(const std::string& title, const std::string& prompt, const std::string& value,
                       const std::string& previous, bool multiLine, QWidget* parent = nullptr);

    std::string value() const;
    CMVT_ParamText* valueItem() const { return m_value; }
    CMVT_ParameterList* sheet() const { return m_sheet; }

private:
    CMVT_ParameterList* m_sheet;
    CMVT_ParamText* m_value;
};
