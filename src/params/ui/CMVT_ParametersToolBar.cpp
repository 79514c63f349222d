#include "params/ui/CMVT_ParametersToolBar.h"

#include "core/IPrompter.h"
#include "params/ui/CUiServices.h"

#include <QAction>
#include <QStyle>

namespace {
using Entry = CMVT_ParametersToolBar::Entry;

constexpr Entry kToolWindow[CMVT_ParametersToolBar::kCount] = {
    {"DOC Factory", "Factory Defaults", "Reset all parameters values to the factory defaults"},
    {"DOC Load", "Load Parameters", "Load parameters values from file"},
    {"DOC Save", "Save Parameters", "Save parameters values to file"},
    {"DOC Copy", "Copy Parameters", "Copy parameters values to Windows clipboard"},
    {"DOC Paste", "Paste Parameters", "Paste parameters values from Windows clipboard"},
    {"DOC Print", "Print Parameters", "Print parameters values"},
    {"DOC Information", "Information", "Display information about this tool"},
};

constexpr Entry kParameterList[CMVT_ParametersToolBar::kCount] = {
    {"ParamsFactory", "Factory Defaults", "Reset all parameters values to the factory defaults"},
    {"ParamsLoad", "Load Parameters", "Load parameters values from file"},
    {"ParamsSave", "Save Parameters", "Save parameters values to file"},
    {"ParamsCopy", "Copy Parameters", "Copy parameters values to Windows clipboard"},
    {"ParamsPaste", "Paste Parameters", "Paste parameters values from Windows clipboard"},
    {"ParamsPrint", "Print Parameters", "Print parameters values"},
    {"ParamsInformation", "Information", "Display parameters information"},
};

constexpr CMVT_ParametersToolBar::Action kActions[CMVT_ParametersToolBar::kCount] = {
    CMVT_ParametersToolBar::Action::Factory, CMVT_ParametersToolBar::Action::Load,
    CMVT_ParametersToolBar::Action::Save,    CMVT_ParametersToolBar::Action::Copy,
    CMVT_ParametersToolBar::Action::Paste,   CMVT_ParametersToolBar::Action::Print,
    CMVT_ParametersToolBar::Action::Information,
};

constexpr QStyle::StandardPixmap kIcons[CMVT_ParametersToolBar::kCount] = {
    QStyle::SP_BrowserReload, QStyle::SP_DialogOpenButton, QStyle::SP_DialogSaveButton, QStyle::SP_FileDialogDetailedView,
    QStyle::SP_FileDialogContentsView, QStyle::SP_FileDialogListView, QStyle::SP_MessageBoxInformation,
};
} // namespace

const CMVT_ParametersToolBar::Entry* CMVT_ParametersToolBar::entries(Style style)
{
    return style == Style::ToolWindow ? kToolWindow : kParameterList;
}

CMVT_ParametersToolBar::Action CMVT_ParametersToolBar::actionOf(const std::string& command)
{
    for (int i = 0; i < kCount; ++i)
        if (command == kToolWindow[i].command || command == kParameterList[i].command)
            return kActions[i];
    return Action::None;
}

CMVT_ParametersToolBar::CMVT_ParametersToolBar(Style style, QWidget* parent) : QToolBar(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setMovable(false);
    const Entry* list = entries(style);
    for (int i = 0; i < kCount; ++i) {
        QAction* a = addAction(this->style()->standardIcon(kIcons[i]), QString::fromLatin1(list[i].caption));
        const QString command = QString::fromLatin1(list[i].command);
        a->setObjectName(command);
        a->setData(command);
        a->setToolTip(QString::fromLatin1(list[i].help));
        a->setStatusTip(QString::fromLatin1(list[i].help));
        connect(a, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
    }
}

QAction* CMVT_ParametersToolBar::actionFor(const std::string& command) const
{
    for (QAction* a : actions())
        if (a->objectName() == QString::fromStdString(command))
            return a;
    return nullptr;
}

int CMVT_ParametersToolBar::run(const std::string& command, const Handlers& handlers)
{
    IPrompter& prompter = CUiServices::prompter();
    const auto call = [](const std::function<void()>& f) {
        if (f)
            f();
    };
    switch (actionOf(command)) {
    case Action::Factory:
        if (prompter.ask(kFactoryQuestion, IPrompter::Buttons::YesNo, IPrompter::Icon::Exclamation)
            == IPrompter::Answer::Yes)
            call(handlers.factoryReset);
        return 1;
    case Action::Load:
        if (handlers.load)
            handlers.load();
        else
            prompter.tell(kLoadMessage, IPrompter::Icon::Information);
        return 1;
    case Action::Save:
        if (handlers.save)
            handlers.save();
        else
            prompter.tell(kSaveMessage, IPrompter::Icon::Information);
        return 1;
    case Action::Copy: call(handlers.copy); return 1;
    case Action::Paste: call(handlers.paste); return 1;
    case Action::Print: prompter.tell(kPrintMessage, IPrompter::Icon::Information); return 1;
    case Action::Information: call(handlers.information); return 1;
    case Action::None: break;
    }
    return 0;
}
