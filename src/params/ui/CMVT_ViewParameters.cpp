#include "params/ui/CMVT_ViewParameters.h"

#include "params/ui/CMVT_ParametersDocument.h"

#include <QVBoxLayout>

CMVT_ViewParameters::CMVT_ViewParameters(CMVT_ParametersDocument* tool, QWidget* parent)
    : QWidget(parent), m_tool(tool)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tool);
    setMinimumSize(tool->minimumSize());
}
