#include "params/ui/CMVT_ParameterListWindow.h"

#include "core/IPrompter.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CMVT_ParametersToolBar.h"
#include "params/ui/CUiServices.h"

#include <QVBoxLayout>

CMVT_ParameterListWindow::CMVT_ParameterListWindow(QWidget* parent)
    : QWidget(parent),
      m_toolBar(new CMVT_ParametersToolBar(CMVT_ParametersToolBar::Style::ParameterList, this)),
      m_sheet(new CMVT_ParameterList(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_sheet, 1);
    connect(m_toolBar, &CMVT_ParametersToolBar::commandTriggered, this,
            [this](const QString& command) { runCommand(command.toStdString()); });
}

void CMVT_ParameterListWindow::factoryReset() { m_sheet->resetToDefaults(); }

void CMVT_ParameterListWindow::information()
{
    CUiServices::prompter().tell(CMVT_ParametersToolBar::kNoInformation, IPrompter::Icon::Information);
}

int CMVT_ParameterListWindow::runCommand(const std::string& command)
{
    CMVT_ParametersToolBar::Handlers handlers;
    handlers.factoryReset = [this] { factoryReset(); };
    handlers.copy = [this] { copy(); };
    handlers.paste = [this] { paste(); };
    handlers.information = [this] { information(); };
    return CMVT_ParametersToolBar::run(command, handlers);
}
