#include "params/ui/CMVT_ParametersDocument.h"

#include "core/IPrompter.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_Parameter.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CMVT_ParametersToolBar.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QVBoxLayout>

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
    setWindowIcon(toolIcon());
    m_modified = false;
    updateCaption();
}

void CMVT_ParametersDocument::onItemChanged(CMVT_Parameter* item)
{
    if (!item)
        return;
    // Pressing a button edits nothing; every other notification is an edit.
    if (std::string(item->kindName()) != "Button")
        setModified(true);
    itemNotification(item);
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
    return CMVT_ParametersToolBar::run(command, {[this] { factoryReset(); }, [this] { copy(); }, [this] { paste(); },
                                                 [this] { information(); }});
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
