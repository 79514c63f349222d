#pragma once

#include "params/CParameterValues.h"
#include "params/CTaskRunner.h"
#include "params/ui/CMVT_Parameter.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <string>

class CMVT_ParameterList;
class CProgressWindow;
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
    static constexpr const char* kParametersFilter =
        "Tool Parameters (*.params)\n*.params\nAll Files (*.*)\n*.*\n\n";
    static constexpr const char* kCannotReadParameters = "The parameters file cannot be read.";
    static constexpr const char* kCannotWriteParameters = "The parameters file cannot be written.";

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
    // After values were loaded or recalled: a tool whose pictures follow its
    // values draws them again.
    virtual void valuesApplied() {}

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
    // The sheet's values by item name (the label without "&" for an item
    // built without a name).
    CParameterValues values() const;
    // Every item named in `values` takes its value, the others keep theirs;
    // then valuesApplied() lets the tool follow.
    void applyValues(const CParameterValues& values);
    // "Load Parameters" and "Save Parameters": a parameters file the user
    // chooses; the window takes its name. 1 when done.
    int loadParameters();
    int saveParameters();
    // The values come back when the tool is opened again: they are kept in
    // the program's settings after every edit, load and factory reset.
    void rememberValues() const;
    bool recallValues();
    // Keeps the remembered values in this file instead (tests).
    static void setMemoryFile(const QString& iniPath);

    // Runs a long task in a progress window, modally, until the user closes
    // it. 1 when the task was not aborted; 0 when it was or the tool window
    // is being closed (the caller then stops what it was doing).
    int runTask(CProgressWindow& window, CTaskRunner::Task task);
    bool isRunningTask() const { return !m_runningTask.isNull(); }
    // Whether the window may close now. While a task runs it is asked to
    // stop; once it has, closeRequested() asks for the close again.
    bool prepareClose();

    // Moves the focus along the tab order and remembers where it landed.
    void focusNextItem();
    void focusPreviousItem();

signals:
    void activated();
    void closeRequested();
    void modifiedChanged(bool modified);

protected:
    bool event(QEvent* event) override;
    // The sheet builder's steps for one member item: level, name, label,
    // then onto the sheet. Kind-specific values are set before or after.
    void place(CMVT_Parameter& item, int level, const std::string& name, const std::string& label);

private:
    void onItemChanged(CMVT_Parameter* item);
    void onFocusChanged(QWidget* old, QWidget* now);

    CMVT_ParametersToolBar* m_toolBar;
    CMVT_ParameterList* m_sheet;
    std::string m_name = "Unnamed";
    bool m_modified = false;
    QPointer<CMVT_Parameter> m_lastFocus;
    std::string m_parametersPath;
    QPointer<CProgressWindow> m_runningTask;
    bool m_closeRequested = false;
};
