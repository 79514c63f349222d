#pragma once

#include <QDialog>

#include <functional>
#include <string>

class CMVT_Parameter;
class CMVT_ParameterList;
class QDialogButtonBox;

// A modal window around a parameter sheet: the tool adds its items by name
// and reads them back on OK. With `closeOnly` the window has one Close
// button instead of OK and Cancel (its items act by themselves).
class CParametersDialog : public QDialog {
    Q_OBJECT
public:
    explicit CParametersDialog(const std::string& title, bool closeOnly = false, QWidget* parent = nullptr);

    CMVT_ParameterList* sheet() const { return m_sheet; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    // Adds a widget under the sheet (a preview, a table).
    void addBelow(QWidget* widget, int stretch = 0);

    // Asked on OK: a message says what is missing, and the window stays
    // open with everything typed so far; "" lets it close.
    void setAcceptCheck(std::function<std::string()> check) { m_acceptCheck = std::move(check); }
    // The sheet takes the values it had when last accepted, and keeps
    // them on OK.
    void rememberValues();
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

signals:
    // A sheet item changed or a button item was pressed.
    void itemNotification(CMVT_Parameter* item);

private:
    CMVT_ParameterList* m_sheet;
    QDialogButtonBox* m_buttons;
    std::function<std::string()> m_acceptCheck;
    bool m_remembers = false;
};
