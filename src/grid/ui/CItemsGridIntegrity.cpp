#include "grid/ui/CItemsGridIntegrity.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/IPrompter.h"
#include "grid/ui/CItemsGrid.h"
#include "params/ui/CUiServices.h"

#include <string>
#include <unordered_map>

bool CItemsGridIntegrity::checkUniqueIds()
{
    if (!m_grid.holder())
        return true;
    std::unordered_map<std::string, int> first;
    for (int item = 0; item < m_grid.rowCount(); ++item) {
        const CResourceItem* record = m_grid.itemAt(item);
        if (!record)
            continue;
        const auto [seen, added] = first.emplace(record->id(), item);
        if (!added)
            return reportFinding(item, QStringLiteral("The ID \"%1\" of item %2 is already the ID of item %3.")
                                           .arg(QString::fromStdString(record->id()), QString::number(item),
                                                QString::number(seen->second)));
    }
    return true;
}

bool CItemsGridIntegrity::reportFinding(int item, const QString& text)
{
    m_grid.selectRow(item);
    CUiServices::prompter().tell(text.toStdString(), IPrompter::Icon::Exclamation);
    return false;
}
