#include "grid/ui/CItemsDropTarget.h"

#include "core/CResourceHolder.h"
#include "core/CStepLock.h"
#include "core/GroupIndex.h"
#include "grid/CItemsMime.h"
#include "kinds/bitmaps/CBitmapInsertion.h"
#include "params/ui/WidgetHelpers.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include <algorithm>

CItemsDropTarget::CItemsDropTarget(QWidget& view, std::vector<int> groups, Document document, CStepLock& lock,
                                   Opener open, Place place)
    : QObject(&view), m_groups(std::move(groups)), m_document(std::move(document)), m_lock(lock),
      m_open(std::move(open)), m_place(std::move(place))
{
    view.setAcceptDrops(true);
    view.installEventFilter(this);
}

bool CItemsDropTarget::takes(int group) const
{
    return std::find(m_groups.begin(), m_groups.end(), group) != m_groups.end();
}

bool CItemsDropTarget::accepts(const QMimeData& data) const
{
    const CResourceHolder* document = m_document();
    if (!document)
        return false;
    if (const auto items = CItemsMime::read(data))
        return takes(items->group) && !CItemsMime::rowsIn(data, *document, items->group).empty();
    return takes(GroupBitmaps) && !droppedLocalFiles(&data).isEmpty();
}

int CItemsDropTarget::countOf(const QMimeData& data) const
{
    const CResourceHolder* document = m_document();
    if (const auto items = CItemsMime::read(data))
        return document ? static_cast<int>(CItemsMime::rowsIn(data, *document, items->group).size()) : 0;
    return static_cast<int>(droppedLocalFiles(&data).size());
}

bool CItemsDropTarget::drop(const QMimeData& data, QPoint at)
{
    CResourceHolder* document = m_document();
    if (!document || !accepts(data))
        return false;
    if (const auto items = CItemsMime::read(data)) {
        const std::vector<int> rows = CItemsMime::rowsIn(data, *document, items->group);
        const auto step = m_open(rows.size() == 1 ? QStringLiteral("Drop Item") : QStringLiteral("Drop %1 Items").arg(rows.size()));
        return m_place(items->group, rows, at);
    }
    const QStringList files = droppedLocalFiles(&data);
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(file.toStdString());
    // The bitmaps and what is placed with them are one step.
    const auto step = m_open(files.size() == 1 ? QStringLiteral("Drop File") : QStringLiteral("Drop %1 Files").arg(files.size()));
    std::vector<int> rows;
    {
        CStepLock::CHold hold(m_lock);
        rows = CBitmapInsertion::insertImages(*document, paths);
    }
    if (rows.empty())
        return false;
    m_place(GroupBitmaps, rows, at);
    emit bitmapsAdded();
    return true;
}

bool CItemsDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData() && accepts(*drag->mimeData())) {
            drag->acceptProposedAction();
            emit dragHovers(drag->position().toPoint(), countOf(*drag->mimeData()));
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::DragLeave: emit dragHovers({}, 0); return true;
    case QEvent::Drop: {
        auto* dropped = static_cast<QDropEvent*>(event);
        if (!dropped->mimeData() || !accepts(*dropped->mimeData())) {
            dropped->ignore();
            return true;
        }
        dropped->acceptProposedAction();
        emit dragHovers({}, 0);
        drop(*dropped->mimeData(), dropped->position().toPoint());
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}
