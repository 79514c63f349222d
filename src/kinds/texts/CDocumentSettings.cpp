#include "kinds/texts/CDocumentSettings.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/texts/CTextItem.h"

#include <algorithm>

std::string CDocumentSettings::password() const
{
    return m_holder.textParameter(kPasswordId, std::string());
}

int CDocumentSettings::propertiesStepDelay() const
{
    return m_holder.integerParameter(kStepDelayId, kPropertiesDefaultDelay);
}

int CDocumentSettings::timerStepDelay() const
{
    return std::max(kTimerMinimumDelay, m_holder.integerParameter(kStepDelayId, kTimerDefaultDelay));
}

CTextItem* CDocumentSettings::findOrCreate(const char* id)
{
    int index = m_holder.findById(GroupTexts, id);
    if (index < 0)
        index = m_holder.newItem(GroupTexts, id);
    return dynamic_cast<CTextItem*>(m_holder.get(GroupTexts, index));
}

int CDocumentSettings::setStepDelay(int milliseconds)
{
    CTextItem* item = findOrCreate(kStepDelayId);
    if (!item)
        return 0;
    item->setText(std::to_string(milliseconds));
    item->setComments(kStepDelayHelp);
    return 1;
}

int CDocumentSettings::setPassword(const std::string& password)
{
    CTextItem* item = findOrCreate(kPasswordId);
    if (!item)
        return 0;
    item->setText(password);
    item->setComments(kPasswordHelp);
    return 1;
}

int CDocumentSettings::apply(int stepDelay, const std::string& password)
{
    const int delayDone = setStepDelay(stepDelay);
    const int passwordDone = setPassword(password);
    return delayDone && passwordDone ? 1 : 0;
}
