#pragma once

#include "kinds/worlds/ElementInstance.h"

#include <QRect>

#include <memory>
#include <vector>

class CResourceHolder;
class GameWorld;
class QPainter;

// A world as the editor plays it: the preview of the elements editor and
// the pictures of render-world. The stepping, the nested worlds, the loop
// guard and the draw order are the runtime's (quillop::CWorldInstance);
// this adds the document it reads and the painting of its draw list.
class WorldInstance : public quillop::CWorldInstance {
public:
    WorldInstance();
    ~WorldInstance();

    // Makes the element instances of the world of that row; 0 when the row
    // names no world, which then plays and draws nothing.
    int build(const CResourceHolder& document, int worldIndex);
    // The world with its drawing point at (dx, dy); `clip` is the drawing
    // window's area, which maps draw within.
    void draw(QPainter& painter, int dx, int dy, const QRect& clip) const;

    // One picture of the draw list and the area it covers (empty when it
    // draws nothing).
    struct Layer {
        quillop::DrawItem item;
        QRect area;
    };
    // The draw list with the drawing point at (dx, dy), bottom first.
    std::vector<Layer> layers(int dx, int dy) const;
    // One picture of a draw list, as draw() paints it.
    void drawLayer(QPainter& painter, const quillop::DrawItem& item, const QRect& clip) const;

    const GameWorld* world() const;

    // Where the elements of the shown world are drawn with the drawing point
    // at (dx, dy): each picture's rectangle with its element row, in drawing
    // order. Pictures of worlds an element takes in or plays belong to those
    // worlds and are not listed: they are edited there.
    struct Placed {
        int element = -1;
        QRect rect;
    };
    std::vector<Placed> placedElements(int dx, int dy) const;
    // The element whose picture covers `point`, the one drawn last where
    // several do; -1 for none.
    int elementAt(int dx, int dy, QPoint point) const;

private:
    class CHolderSource;
    const CResourceHolder* m_document = nullptr;
    std::unique_ptr<CHolderSource> m_source;
};
