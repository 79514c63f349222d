#pragma once

#include <QDialog>

class CMVT_ParameterList;
class CResourceHolder;
class UserInterface;

// A dialog made from a user interface of the interface resource file (the
// About and Contributors windows): its items as a parameter sheet. A button
// named "explore" opens the address its item holds as default value.
class CInterfaceDialog : public QDialog {
    Q_OBJECT
public:
    CInterfaceDialog(const UserInterface& ui, const CResourceHolder& interfaceHolder, const QString& title,
                     QWidget* parent = nullptr);

    CMVT_ParameterList* sheet() const { return m_sheet; }
    // The address the "explore" button opens; empty without one.
    QString exploreAddress() const { return m_explore; }

signals:
    void exploreRequested(const QString& address);

private:
    CMVT_ParameterList* m_sheet;
    QString m_explore;
};
