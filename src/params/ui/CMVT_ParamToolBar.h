#pragma once

#include "params/ui/CMVT_Parameter.h"
#include "params/ui/CPictureButton.h"

#include <string>
#include <vector>

// A row of named buttons inside a sheet, with gaps between groups of them.
// A press names its command through commandTriggered(); the sheet's owner
// decides what it does.
class CMVT_ParamToolBar : public CMVT_Parameter {
    Q_OBJECT
public:
    struct Button {
        std::string command;
        std::string caption;
        std::string help;
        CPictureButton::Pictures pictures{};
        bool border = false;
    };

    static constexpr int kGapWidth = 8;

    explicit CMVT_ParamToolBar(QWidget* parent = nullptr);
    const char* kindName() const override { return "ToolBar"; }

    void addButton(const Button& button);
    // An empty space after the buttons added so far.
    void addGap();
    const std::vector<Button>& buttons() const { return m_buttons; }
    CPictureButton* buttonFor(const std::string& command) const;
    // The buttons and gaps in order, left to right.
    const std::vector<QWidget*>& controls() const { return m_controls; }

signals:
    void commandTriggered(const QString& command);

private:
    std::vector<Button> m_buttons;
    std::vector<CPictureButton*> m_widgets;
    std::vector<QWidget*> m_controls;
};
