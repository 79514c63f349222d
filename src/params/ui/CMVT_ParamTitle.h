#pragma once

#include "params/ui/CMVT_Parameter.h"

#include <QFont>

class QLabel;

// A heading: level 0 heads the tool, level 1 a section, deeper levels get
// smaller and lighter.
class CMVT_ParamTitle : public CMVT_Parameter {
    Q_OBJECT
public:
    explicit CMVT_ParamTitle(QWidget* parent = nullptr);
    const char* kindName() const override { return "Title"; }

    // Verdana; pixel height and weight by level.
    static QFont fontForLevel(int level);

    QString shownText() const;

protected:
    void onLabelChanged() override;
    void onLevelChanged() override;

private:
    QLabel* m_text;
};
