#include "params/ui/CMVT_ParametersDocument.h"

#include "core/IPrompter.h"
#include "params/CParameterValues.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_Parameter.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CMVT_ParametersToolBar.h"
#include "params/ui/CProgressWindow.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QFileInfo>
#include <QEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

CMVT_ParametersDocument::CMVT_ParametersDocument(QWidget* parent)
    : QWidget(parent),
      m_toolBar(new CMVT_ParametersToolBar(CMVT_ParametersToolBar::Style::ToolWindow, this)),
      m_sheet(new CMVT_ParameterList(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_sheet, 1);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    connect(m_sheet, &CMVT_ParameterList::itemChanged, this, &CMVT_ParametersDocument::onItemChanged);
    connect(m_toolBar, &CMVT_ParametersToolBar::commandTriggered, this,
            [this](const QString& command) { runCommand(command.toStdString()); });
    connect(qApp, &QApplication::focusChanged, this, &CMVT_ParametersDocument::onFocusChanged);
}

CMVT_ParametersDocument::~CMVT_ParametersDocument() = default;

void CMVT_ParametersDocument::create()
{
    buildSheet();
    factoryReset();
    recallValues();
    setWindowIcon(toolIcon());
    m_modified = false;
    updateCaption();
}

void CMVT_ParametersDocument::place(CMVT_Parameter& item, int level, const std::string& name,
                                    const std::string& label)
{
    item.setLevel(level);
    item.setName(name);
    item.setLabel(label);
    m_sheet->addItem(&item);
}

void CMVT_ParametersDocument::onItemChanged(CMVT_Parameter* item)
{
    if (!item)
        return;
    // Pressing a button edits nothing; every other notification is an edit.
    if (std::string(item->kindName()) != "Button") {
        setModified(true);
        rememberValues();
    }
    itemNotification(item);
}

// --- values as files and between runs --------------------------------------

void CMVT_ParametersDocument::setMemoryFile(const QString& iniPath) { CMVT_ParameterList::setMemoryFile(iniPath); }

CParameterValues CMVT_ParametersDocument::values() const { return m_sheet->values(); }

void CMVT_ParametersDocument::applyValues(const CParameterValues& values)
{
    m_sheet->applyValues(values);
    valuesApplied();
}

void CMVT_ParametersDocument::rememberValues() const { m_sheet->rememberValues(toolTitle()); }

bool CMVT_ParametersDocument::recallValues()
{
    if (!m_sheet->recallValues(toolTitle()))
        return false;
    valuesApplied();
    return true;
}

int CMVT_ParametersDocument::loadParameters()
{
    const std::vector<std::string> chosen = CUiServices::fileChooser().chooseFiles(
        this, {"Load Parameters", kParametersFilter, m_parametersPath, false, false});
    if (chosen.empty())
        return 0;
    CParameterValues loaded;
    std::string tool;
    if (!loaded.load(chosen.front(), tool)) {
        CUiServices::prompter().tell(kCannotReadParameters, IPrompter::Icon::Exclamation);
        return 0;
    }
    if (tool != toolTitle()) {
        CUiServices::prompter().tell("These are the parameters of \"" + tool + "\", not of this tool.",
                                     IPrompter::Icon::Exclamation);
        return 0;
    }
    applyValues(loaded);
    m_parametersPath = chosen.front();
    setModified(false);
    setName(QFileInfo(QString::fromStdString(m_parametersPath)).completeBaseName().toStdString());
    rememberValues();
    return 1;
}

int CMVT_ParametersDocument::saveParameters()
{
    const std::vector<std::string> chosen = CUiServices::fileChooser().chooseFiles(
        this, {"Save Parameters", kParametersFilter, m_parametersPath, true, false});
    if (chosen.empty())
        return 0;
    if (!values().save(chosen.front(), toolTitle())) {
        CUiServices::prompter().tell(kCannotWriteParameters, IPrompter::Icon::Exclamation);
        return 0;
    }
    m_parametersPath = chosen.front();
    setModified(false);
    setName(QFileInfo(QString::fromStdString(m_parametersPath)).completeBaseName().toStdString());
    return 1;
}

void CMVT_ParametersDocument::itemNotification(CMVT_Parameter*) {}

void CMVT_ParametersDocument::information()
{
    CUiServices::prompter().tell(CMVT_ParametersToolBar::kNoInformation, IPrompter::Icon::Information);
}

QIcon CMVT_ParametersDocument::toolIcon() const { return style()->standardIcon(QStyle::SP_FileDialogDetailedView); }

void CMVT_ParametersDocument::setModified(bool modified)
{
    const bool changed = m_modified != modified;
    m_modified = modified;
    updateCaption();
    if (changed)
        emit modifiedChanged(modified);
}

void CMVT_ParametersDocument::setName(const std::string& name)
{
    m_name = name;
    updateCaption();
}

std::string CMVT_ParametersDocument::caption() const
{
    return toolTitle() + " - " + name() + (isModified() ? " *" : "");
}

void CMVT_ParametersDocument::updateCaption() { setWindowTitle(QString::fromStdString(caption())); }

int CMVT_ParametersDocument::runCommand(const std::string& command)
{
    CMVT_ParametersToolBar::Handlers handlers;
    handlers.factoryReset = [this] {
        factoryReset();
        rememberValues();
    };
    handlers.load = [this] { loadParameters(); };
    handlers.save = [this] { saveParameters(); };
    handlers.copy = [this] { copy(); };
    handlers.paste = [this] { paste(); };
    handlers.information = [this] { information(); };
    return CMVT_ParametersToolBar::run(command, handlers);
}

void CMVT_ParametersDocument::onFocusChanged(QWidget*, QWidget* now)
{
    if (CMVT_Parameter* item = m_sheet->itemContaining(now))
        m_lastFocus = item;
}

void CMVT_ParametersDocument::onActivated()
{
    CMVT_Parameter* item = m_lastFocus.data();
    if (item && item->isVisible()) {
        if (CMVT_EditTyped* e = item->edit())
            e->setFocus(Qt::ActiveWindowFocusReason);
        else
            item->setFocus(Qt::ActiveWindowFocusReason);
    } else {
        // The remembered item is gone: the next tab stop takes the focus.
        m_sheet->setFocus(Qt::ActiveWindowFocusReason);
        focusNextItem();
    }
    emit activated();
}

void CMVT_ParametersDocument::focusNextItem()
{
    focusNextPrevChild(true);
    if (CMVT_Parameter* item = m_sheet->itemContaining(QApplication::focusWidget()))
        m_lastFocus = item;
}

void CMVT_ParametersDocument::focusPreviousItem()
{
    focusNextPrevChild(false);
    if (CMVT_Parameter* item = m_sheet->itemContaining(QApplication::focusWidget()))
        m_lastFocus = item;
}

bool CMVT_ParametersDocument::event(QEvent* e)
{
    // A tool window shown on its own (not in the MDI area) is activated as
    // a top-level window.
    if (e->type() == QEvent::WindowActivate && isWindow())
        onActivated();
    return QWidget::event(e);
}

// --- tasks ------------------------------------------------------------------

int CMVT_ParametersDocument::runTask(CProgressWindow& window, CTaskRunner::Task task)
{
    window.setTask(std::move(task));
    window.setAutoClose(false);
    m_runningTask = &window;
    window.exec();
    m_runningTask = nullptr;
    const bool done = !window.runner().isAborted();
    if (m_closeRequested) {
        // The window was asked to close while the task ran: now that the
        // task has stopped and the progress window is gone, it may.
        QTimer::singleShot(0, this, [this] { emit closeRequested(); });
        return 0;
    }
    return done ? 1 : 0;
}

bool CMVT_ParametersDocument::prepareClose()
{
    // The values come back at the next opening whatever the answer; the
    // question is whether they should also go to a parameters file.
    if (isModified() && !m_closeRequested) {
        const std::string question = "Save the parameters of \"" + toolTitle() + "\" to a file?";
        switch (CUiServices::prompter().ask(question, IPrompter::Buttons::YesNoCancel, IPrompter::Icon::Question)) {
        case IPrompter::Answer::Yes:
            if (!saveParameters())
                return false;
            break;
        case IPrompter::Answer::No: break;
        default: return false;
        }
    }
    if (!m_runningTask)
        return true;
    m_closeRequested = true;
    CProgressWindow* window = m_runningTask.data();
    if (window->canClose()) {
        window->closeWindow();
    } else {
        // The task stops at its next step; the progress window then closes
        // itself and the close is carried out.
        window->setAutoClose(true);
        window->abortTask();
    }
    return false;
}
