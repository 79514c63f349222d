#pragma once

#include <QPixmap>

#include <vector>

class CResourceHolder;
class CellValue;
class QDrag;

// What stands for an item where people would rather look than read, in
// pickers and under the mouse while items are dragged: a bitmap's picture,
// an animation's first frame, a colour's swatch.
class CItemPicture {
public:
    static constexpr int kDragSide = 64;

    // The cell showing item `item` of `group`; false when the group has no
    // pictures or the item draws none.
    static bool cellOf(const CResourceHolder* document, int group, int item, CellValue& value);
    // The first of the dragged items' pictures on a card, at most kDragSide
    // a side, with how many items go when more than one; null when it has
    // none.
    static QPixmap dragPixmap(const CResourceHolder& document, int group, const std::vector<int>& items);
    // Shows `picture` under the mouse, centred on it, during `drag`; false
    // (the drag keeps its own look) for a null picture.
    static bool putOn(QDrag& drag, const QPixmap& picture);
};
