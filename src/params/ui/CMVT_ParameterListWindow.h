#pragma once

#include <QWidget>

#include <string>

class CMVT_ParameterList;
class CMVT_ParametersToolBar;

// A parameter sheet with its seven actions outside the tool windows (the
// "Params..." commands). Factory defaults put every item back to the value
// it was built with.
class CMVT_ParameterListWindow : public QWidget {
    Q_OBJECT
public:
    explicit CMVT_ParameterListWindow(QWidget* parent = nullptr);

    CMVT_ParameterList* sheet() const { return m_sheet; }
    CMVT_ParametersToolBar* toolBar() const { return m_toolBar; }

    virtual void factoryReset();
    virtual void copy() {}
    virtual void paste() {}
    virtual void information();

    int runCommand(const std::string& command);

private:
    CMVT_ParametersToolBar* m_toolBar;
    CMVT_ParameterList* m_sheet;
};
