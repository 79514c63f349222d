#pragma once

#include "params/ui/CValuePromptDialog.h"

// "Edit Value": the new text of the selected cells, on one line or on
// several for long texts, with the previous value shown below it.
class CEditValueDialog : public CValuePromptDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Edit Value";
    static constexpr const char* kPrompt = "Edit Cell(s) Value";

    CEditValueDialog(bool multiLine, const std::string& initial, const std::string& previous, QWidget* parent = nullptr);
};
