#include "kinds/CBitmapSelectionAnimation.h"

#include "core/CResourceHolder.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/trajectories/PlayModes.h"

int CBitmapSelectionAnimation::make(CResourceHolder& holder, const std::vector<int>& selectedRows)
{
    std::vector<int> rows;
    for (int row : selectedRows)
        if (row >= 0 && row < holder.count(GroupBitmaps))
            rows.push_back(row);
    if (rows.empty())
        return -1;
    const int index = holder.newItem(GroupAnimations, kAnimationId);
    auto* animation = dynamic_cast<CAnimationItem*>(holder.get(GroupAnimations, index));
    if (!animation) {
        if (index >= 0)
            holder.remove(GroupAnimations, index);
        return -1;
    }
    animation->setAnimationType(CAnimationItem::kTypeBitmaps);
    animation->setPlayMode(PlayForwardLoop);
    for (int row : rows)
        animation->addFrame(row, 1, 0, 0);
    return index;
}
