#include "params/ui/CMVT_DocumentParameters.h"

#include "params/ui/CMVT_ParametersDocument.h"

CMVT_DocumentParameters::CMVT_DocumentParameters(CMVT_ParametersDocument* tool, QObject* parent)
    : QObject(parent), m_tool(tool)
{
}

QString CMVT_DocumentParameters::title() const { return m_tool ? m_tool->windowTitle() : QString(); }
bool CMVT_DocumentParameters::isModified() const { return m_tool && m_tool->isModified(); }
