#pragma once

#include <QDialog>

#include <string>

class CMVT_ParamText;
class CMVT_ParameterList;

// "Edit Value": the new text of the selected cells, on one line or on
// several for long texts, with the previous value shown below it.
class CEditValueDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Edit Value";

    CEditValueDialog(bool multiLine, const std::string& initial, const std::string& previous, QWidget* parent = nullptr);

    std::string value() const;
    CMVT_ParamText* valueItem() const { return m_value; }
    CMVT_ParameterList* sheet() const { return m_sheet; }

private:
    CMVT_ParameterList* m_sheet;
    CMVT_ParamText* m_value;
};
