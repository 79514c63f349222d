// The integrity check's walk over the references items keep to rows of other
// groups: the same walk renumbering uses, so a kind cannot keep one form and
// check another.
#include "core/CIndexChange.h"
#include "core/CItemReferences.h"
#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/worlds/GameWorld.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
template <typename Item> Item* itemOf(const CResourceHolder& document, int group, int index)
{
    return dynamic_cast<Item*>(document.get(group, index));
}

// Two bitmaps, one trajectory, and an animation, a map and a world whose
// every reference holds.
std::unique_ptr<CResourceHolder> soundDocument()
{
    auto holder = createDocumentHolder();
    holder->newItem(GroupBitmaps, "a");
    holder->newItem(GroupBitmaps, "b");
    holder->newItem(GroupTrajectories, "path");
    auto& walk = *itemOf<CAnimationItem>(*holder, GroupAnimations, holder->newItem(GroupAnimations, "walk"));
    walk.addFrame(0);
    walk.addFrame(-1);
    walk.addFrame(1);
    itemOf<CMapItem>(*holder, GroupMaps, holder->newItem(GroupMaps, "floor"))->setCell(3, 1, 1);
    auto& world = *itemOf<GameWorld>(*holder, GroupWorlds, holder->newItem(GroupWorlds, "w"));
    WorldElement& e = *world.elementAt(world.addElement("e"));
    e.objectType = WorldObjectBitmap;
    e.objectIndex = 1;
    e.trajectoryIndex = 0;
    return holder;
}
} // namespace

TEST(ReferenceCheck, FindsTheFirstReferenceToARowThatDoesNotExistInEveryReferringKind)
{
    struct Case {
        const char* what;
        int group;
        std::function<void(CResourceHolder&)> breakIt;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"frame", GroupAnimations,
         [](CResourceHolder& d) { itemOf<CAnimationItem>(d, GroupAnimations, 0)->setFrame(2, {2, 1, 0, 0}); },
         "Frame 2 of the animation \"walk\" (item 0) shows the bitmap 2, which does not exist."},
        {"map cell", GroupMaps, [](CResourceHolder& d) { itemOf<CMapItem>(d, GroupMaps, 0)->setCell(3, 1, -3); },
         "The cell (3, 1) of the map \"floor\" (item 0) shows the bitmap -3, which does not exist."},
        {"world object", GroupWorlds,
         [](CResourceHolder& d) { itemOf<GameWorld>(d, GroupWorlds, 0)->elementAt(0)->objectIndex = 2; },
         "Element 0 (\"e\") of the world \"w\" (item 0) shows the bitmap 2, which does not exist."},
        {"world trajectory", GroupWorlds,
         [](CResourceHolder& d) { itemOf<GameWorld>(d, GroupWorlds, 0)->elementAt(0)->trajectoryIndex = 1; },
         "Element 0 (\"e\") of the world \"w\" (item 0) follows the trajectory 1, which does not exist."},
        {"bitmap deleted under them", GroupAnimations,
         [](CResourceHolder& d) { d.remove(GroupBitmaps, 1); },
         "Frame 2 of the animation \"walk\" (item 0) shows the bitmap 1, which does not exist."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto document = soundDocument();
        for (int group : {GroupAnimations, GroupMaps, GroupWorlds})
            EXPECT_FALSE(findDanglingReference(*document, group)) << "a sound document has no finding";
        c.breakIt(*document);
        const auto found = findDanglingReference(*document, c.group);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->item, 0);
        EXPECT_EQ(found->text, c.expected);
    }

    // Renumbering walks the same references: after the delete is followed,
    // nothing dangles and the bitmap after the deleted one moved up.
    auto document = soundDocument();
    document->remove(GroupBitmaps, 0);
    document->renumberReferences(GroupBitmaps, CIndexChange::removed(0, document->count(GroupBitmaps)));
    for (int group : {GroupAnimations, GroupMaps, GroupWorlds})
        EXPECT_FALSE(findDanglingReference(*document, group));
    EXPECT_EQ(itemOf<CAnimationItem>(*document, GroupAnimations, 0)->frame(2)->bitmap, 0);
    EXPECT_EQ(itemOf<CMapItem>(*document, GroupMaps, 0)->cell(3, 1), 0);
    EXPECT_EQ(itemOf<GameWorld>(*document, GroupWorlds, 0)->elementAt(0)->objectIndex, 0);
}
