#include "grid/ui/CPictureDragTable.h"

#include "grid/ui/CItemPicture.h"

#include <QDrag>
#include <QMimeData>

void CPictureDragTable::startDrag(Qt::DropActions actions)
{
    const QModelIndexList indexes = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    QMimeData* data = indexes.isEmpty() || !model() ? nullptr : model()->mimeData(indexes);
    const QPixmap picture = data && m_picture ? m_picture(*data) : QPixmap();
    if (picture.isNull()) {
        delete data;
        QTableView::startDrag(actions);
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    CItemPicture::putOn(*drag, picture);
    drag->exec(actions, defaultDropAction());
}
