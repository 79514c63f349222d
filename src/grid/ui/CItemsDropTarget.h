#pragma once

#include "core/CDocumentHistory.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CResourceHolder;
class CStepLock;
class QMimeData;
class QWidget;

// Items dragged from another panel, or picture files from the desktop,
// dropped on a view that places them: frames inserted, cells painted,
// world elements added. The view says which groups it takes, how its step
// of the history opens and how it places rows at a point; this class
// watches the view's drag events, refuses items of another document, turns
// files into bitmaps and makes the whole drop one step.
class CItemsDropTarget : public QObject {
    Q_OBJECT
public:
    using Document = std::function<CResourceHolder*()>;
    using Opener = std::function<std::unique_ptr<CDocumentHistory::Edit>(const QString& text)>;
    // Places rows of `group` at a point of the view; true when the document
    // changed.
    using Place = std::function<bool(int group, const std::vector<int>& rows, QPoint at)>;

    // Watches `view` (which must outlive nothing here: the target is its
    // child). `lock` is the panel's, held while files become bitmaps.
    CItemsDropTarget(QWidget& view, std::vector<int> groups, Document document, CStepLock& lock, Opener open,
                     Place place);

    // Whether `data` holds rows of a group the view takes from its own
    // document, or local files when it takes bitmaps.
    bool accepts(const QMimeData& data) const;
    // Drops `data` at `at`: one step of the history, files read into new
    // bitmaps first. True when the document changed.
    bool drop(const QMimeData& data, QPoint at);

signals:
    // Bitmaps were added from files: the Bitmaps grid has rows to show.
    void bitmapsAdded();
    // Something the view takes is held over it at `at`: `count` rows or
    // files; left (count 0) when it goes away or is dropped.
    void dragHovers(QPoint at, int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool takes(int group) const;
    // How many rows or files `data` would place.
    int countOf(const QMimeData& data) const;

    std::vector<int> m_groups;
    Document m_document;
    CStepLock& m_lock;
    Opener m_open;
    Place m_place;
};
