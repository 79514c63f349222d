#pragma once

#include "params/ui/CMVT_Parameter.h"

class QLabel;

// A line of text the tool rewrites (what is loaded, how big it is...).
class CMVT_ParamInfo : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamInfo(QWidget* parent = nullptr);
    const char* kindName() const override { return "Info"; }

    // The info line is the item's label.
    void setText(const std::string& text) { setLabel(text); }
    QString shownText() const;

protected:
    void onLabelChanged() override;

private:
    QLabel* m_text;
};
