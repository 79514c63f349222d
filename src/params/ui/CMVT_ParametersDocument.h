#pragma once

#include "params/ui/CMVT_Parameter.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <string>

class CMVT_ParameterList;
class CMVT_ParametersToolBar;

// The base of every tool window: a parameter sheet under the seven-button
// tool bar. A tool keeps its items as members, adds them in buildSheet(),
// resets them in factoryReset() and reacts to them in itemNotification().
// create() must be called once the tool is fully constructed.
//
// Edits mark the window modified (" *" in the caption); button presses do
// not. The window remembers which item had the focus and gives it back when
// it is activated again.
class CMVT_ParametersDocument : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 320;
    static constexpr int kMinimumHeight = 240;

    explicit CMVT_ParametersDocument(QWidget* parent = nullptr);
    ~CMVT_ParametersDocument() override;

    // --- operations tools override -------------------------------------
    virtual void itemNotification(CMVT_Parameter* item);
    virtual void information();
    virtual void paste() {}
    virtual void copy() {}
    virtual void factoryReset() {}
    virtual void buildSheet() {}
    virtual QIcon toolIcon() const;
    virtual void setModified(bool modified);
    virtual void setName(const std::string& name);
    virtual bool isModified() const { return m_modified; }
    virtual std::string name() const { return m_name; }
    virtual void updateCaption();
    virtual std::string toolTitle() const { return "Parameters"; }
    // Builds the sheet, brings every item to its default and shows a clean
    // caption.
    virtual void create();

    // Title, " - ", name, and " *" while modified.
    std::string caption() const;

    CMVT_ParameterList* sheet() const { return m_sheet; }
    CMVT_ParametersToolBar* toolBar() const { return m_toolBar; }

    // What a tool-bar button does, by its command name; 0 for a name that
    // is not one of the seven.
    int runCommand(const std::string& command);

    // The window became active: the remembered item gets the focus back and
    // activated() tells the main frame to refresh its commands.
    void onActivated();
    CMVT_Parameter* lastFocusedItem() const { return m_lastFocus.data(); }
    // Moves the focus along the tab order and remembers where it landed.
    void focusNextItem();
    void focusPreviousItem();

signals:
    void activated();
    void modifiedChanged(bool modified);

protected:
    bool event(QEvent* event) override;

private:
    void onItemChanged(CMVT_Parameter* item);
    void onFocusChanged(QWidget* old, QWidget* now);

    CMVT_ParametersToolBar* m_toolBar;
    CMVT_ParameterList* m_sheet;
    std::string m_name = "Unnamed";
    bool m_modified = false;
    QPointer<CMVT_Parameter> m_lastFocus;
};
