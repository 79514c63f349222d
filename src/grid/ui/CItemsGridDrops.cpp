#include "grid/ui/CItemsGridDrops.h"

#include "core/CDocumentHistory.h"
#include "core/IPrompter.h"
#include "core/NaturalOrder.h"
#include "grid/ui/CItemsGrid.h"
#include "params/ui/CUiServices.h"
#include "params/ui/WidgetHelpers.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

void CItemsGridDrops::dropFiles(const QStringList& dropped)
{
    // Many files at once arrive in the order a file manager lists them.
    QStringList paths = dropped;
    sortNaturally(paths);
    if (!m_grid.acceptsFiles()) {
        CUiServices::prompter().tell(kRefusesFiles, IPrompter::Icon::Exclamation);
        return;
    }
    int added = 0;
    CDocumentHistory::Edit edit(m_grid.history(), paths.size() == 1 ? QStringLiteral("Drop File")
                                                                    : QStringLiteral("Drop %1 Files").arg(paths.size()));
    edit.touchRows(m_grid.group(), m_grid.selectionSet(true));
    {
        CItemsGrid::CLock lock(m_grid);
        for (const QString& path : paths)
            added += m_grid.dropFile(path) ? 1 : 0;
    }
    m_grid.refreshRows();
    if (added > 0)
        m_grid.markModified();
}

void CItemsGridDrops::dragEnter(QDragEnterEvent& event)
{
    if (event.mimeData()->hasUrls())
        event.acceptProposedAction();
}

void CItemsGridDrops::drop(QDropEvent& event)
{
    const QStringList paths = droppedLocalFiles(event.mimeData());
    if (paths.isEmpty())
        return;
    event.acceptProposedAction();
    dropFiles(paths);
}
