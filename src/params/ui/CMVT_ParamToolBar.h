#pragma once

#include "params/ui/CMVT_Parameter.h"

#include <string>
#include <vector>

class QToolButton;

// A row of named buttons inside a sheet. A press names its command through
// commandTriggered(); the sheet's owner decides what it does.
class CMVT_ParamToolBar : public CMVT_Parameter {
    Q_OBJECT
public:
    struct Button {
        std::string command;
        std::string caption;
        std::string help;
    };

    explicit CMVT_ParamToolBar(QWidget* parent = nullptr);
    const char* kindName() const override { return "ToolBar"; }

    void addButton(const Button& button);
    const std::vector<Button>& buttons() const { return m_buttons; }
    QToolButton* buttonFor(const std::string& command) const;

signals:
    void commandTriggered(const QString& command);

private:
    std::vector<Button> m_buttons;
    std::vector<QToolButton*> m_widgets;
};
