#pragma once

#include <QWidget>

class CMVT_ParametersDocument;

// The view of a tool window: it only gives the tool the whole client area.
class CMVT_ViewParameters : public QWidget {
    Q_OBJECT
public:
    explicit CMVT_ViewParameters(CMVT_ParametersDocument* tool, QWidget* parent = nullptr);
    CMVT_ParametersDocument* tool() const { return m_tool; }

private:
    CMVT_ParametersDocument* m_tool;
};
