#pragma once

#include "params/ui/CMVT_Parameter.h"

class QPushButton;

// A push button; pressing it sends the item notification (and does not mark
// the sheet modified: nothing was edited).
class CMVT_ParamButton : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamButton(QWidget* parent = nullptr);
    const char* kindName() const override { return "Button"; }

    QPushButton* button() const { return m_button; }

protected:
    void onLabelChanged() override;

private:
    QPushButton* m_button;
};
