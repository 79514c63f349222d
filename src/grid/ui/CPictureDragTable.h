#pragma once

#include <QPixmap>
#include <QTableView>

#include <functional>

class QMimeData;

// A table whose rows, when dragged, show the picture of what they hold under
// the mouse (a bitmap, an animation's first frame) instead of their cells'
// text; rows with no picture drag as any table's do.
class CPictureDragTable : public QTableView {
public:
    using Picture = std::function<QPixmap(const QMimeData& dragged)>;

    void setDragPicture(Picture picture) { m_picture = std::move(picture); }

protected:
    void startDrag(Qt::DropActions actions) override;

private:
    Picture m_picture;
};
