#pragma once

#include "params/ui/CMVT_Parameter.h"
#include "params/ui/CPictureButton.h"

// A push button, drawn from pictures when it is given some; pressing it
// sends the item notification (and does not mark the sheet modified: nothing
// was edited).
class CMVT_ParamButton : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamButton(QWidget* parent = nullptr);
    const char* kindName() const override { return "Button"; }

    CPictureButton* button() const { return m_button; }
    void setPictures(const CPictureButton::Pictures& pictures, bool border);

protected:
    void onLabelChanged() override;

private:
    CPictureButton* m_button;
};
