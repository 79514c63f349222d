#include "WorldTestSupport.h"

#include "core/CIndexChange.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/CWorldElementSort.h"
#include "kinds/worlds/CWorldGroupEditing.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace worldtest;

TEST(WorldLoopGuard, SelfReferenceIsRefusedAndTheOldIndexStays)
{
    auto holder = createDocumentHolder();
    GameWorld& w0 = addWorld(*holder, {{WorldObjectWorldReference, -1}});
    ScriptedPrompter prompter;
    EXPECT_EQ(CWorldLoopGuard::setObjectIndex(*holder, 0, 0, 0, prompter), 0);
    EXPECT_EQ(w0.elementAt(0)->objectIndex, -1);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], "Cannot set the object index, as it would create an infinite loop.");
}

TEST(WorldLoopGuard, ChainsDiamondsAndMissingWorlds)
{
    auto holder = createDocumentHolder();
    addWorld(*holder, {{WorldObjectWorldElements, 1}});
    addWorld(*holder, {{WorldObjectWorldReference, 2}});
    GameWorld& w2 = addWorld(*holder, {{WorldObjectBitmap, 0}});
    ScriptedPrompter prompter;
    // 0 -> 1 -> 2, then 2 -> 0 closes the cycle.
    EXPECT_EQ(CWorldLoopGuard::setObjectType(*holder, 2, 0, WorldObjectWorldElements, prompter), 0);
    EXPECT_EQ(w2.elementAt(0)->objectIndex, -1);
    EXPECT_EQ(w2.elementAt(0)->objectType, WorldObjectWorldElements);
    EXPECT_EQ(prompter.messages.back(), "The object's index has been set to none, to avoid creating an infinite loop.");
    EXPECT_EQ(CWorldLoopGuard::setObjectIndex(*holder, 2, 0, 0, prompter), 0);
    EXPECT_EQ(w2.elementAt(0)->objectIndex, -1);
    // A world that does not exist is accepted without a word.
    const std::size_t messages = prompter.messages.size();
    EXPECT_EQ(CWorldLoopGuard::setObjectIndex(*holder, 2, 0, 17, prompter), 1);
    EXPECT_EQ(w2.elementAt(0)->objectIndex, 17);
    EXPECT_EQ(prompter.messages.size(), messages);
    // A diamond: 3 includes 0 and 1, which both lead to 2.
    addWorld(*holder, {{WorldObjectWorldReference, 0}, {WorldObjectWorldElements, 1}});
    EXPECT_TRUE(CWorldLoopGuard::acceptable(*holder));
    EXPECT_EQ(CWorldLoopGuard::setObjectIndex(*holder, 1, 0, 3, prompter), 0);  // 1 -> 3 -> 1
    // The walk with a path already taken: world 2 is fine alone, not with 2 on the way.
    EXPECT_TRUE(CWorldLoopGuard::walk(*holder, {}, 2));
    EXPECT_FALSE(CWorldLoopGuard::walk(*holder, {2}, 0));
    EXPECT_EQ(worldAt(*holder, 3)->loopCheck(*holder, {}, 3), 1);
    // Other object types store any index without a check.
    EXPECT_EQ(CWorldLoopGuard::setObjectType(*holder, 0, 0, WorldObjectMap, prompter), 1);
    EXPECT_EQ(CWorldLoopGuard::setObjectIndex(*holder, 0, 0, 0, prompter), 1);
    EXPECT_EQ(CWorldLoopGuard::setObjectIndex(*holder, 0, 5, 0, prompter), 0);
}

TEST(WorldLoopGuard, ManySharedWorldsAreWalkedQuickly)
{
    // Every world includes the next one twice: walking each path separately
    // would take 2^200 visits.
    auto holder = createDocumentHolder();
    const int n = 200;
    for (int i = 0; i < n; ++i)
        addWorld(*holder, {{WorldObjectWorldElements, i + 1}, {WorldObjectWorldReference, i + 1}});
    EXPECT_TRUE(CWorldLoopGuard::acceptable(*holder));
    worldAt(*holder, n - 1)->elementAt(0)->objectIndex = 0;
    EXPECT_FALSE(CWorldLoopGuard::acceptable(*holder));
}

TEST(WorldReferences, WorldRowsAlwaysCarryTheirReferences)
{
    auto holder = createDocumentHolder();
    GameWorld& a = addWorld(*holder);
    addWorld(*holder);
    addWorld(*holder);
    for (auto [type, index] : {std::pair{3, 0}, {4, 1}, {3, 2}, {0, 1}, {4, -1}}) {
        WorldElement& e = *a.elementAt(a.addElement("e"));
        e.objectType = type;
        e.objectIndex = index;
    }
    // Deleting world 1 of three: 1 becomes none, 2 becomes 1, 0 stays; the
    // bitmap reference 1 is not a world reference.
    EXPECT_EQ(CWorldGroupEditing::remove(*holder, 1), 1);
    EXPECT_EQ(objectIndexes(a), (std::vector<int>{0, -1, 1, 1, -1}));
    EXPECT_EQ(CWorldGroupEditing::remove(*holder, 5), 0);

    EXPECT_EQ(CWorldGroupEditing::insert(*holder), 2);
    EXPECT_EQ(holder->get(GroupWorlds, 2)->id(), "New ID");
    // Moving world 0 to 2: references follow, the ones between move up one.
    EXPECT_EQ(CWorldGroupEditing::move(*holder, 0, 2), 1);
    EXPECT_EQ(objectIndexes(a), (std::vector<int>{2, -1, 0, 1, -1}));
    EXPECT_EQ(CWorldGroupEditing::swap(*holder, 0, 2), 1);
    EXPECT_EQ(objectIndexes(a), (std::vector<int>{0, -1, 2, 1, -1}));
    EXPECT_EQ(CWorldGroupEditing::swap(*holder, 0, 3), 0);
    EXPECT_EQ(objectIndexes(a), (std::vector<int>{0, -1, 2, 1, -1}));
}

TEST(WorldReferences, ObjectAndTrajectoryReferencesFollowTheirGroups)
{
    auto holder = createDocumentHolder();
    GameWorld& w = addWorld(*holder, {{0, 1}, {1, 1}, {2, 1}, {3, 0}, {4, 0}});
    w.elementAt(0)->trajectoryIndex = 2;
    w.elementAt(3)->trajectoryIndex = 0;

    holder->renumberReferences(GroupBitmaps, CIndexChange::removed(1, 4));
    EXPECT_EQ(objectIndexes(w), (std::vector<int>{-1, 1, 1, 0, 0}));
    holder->renumberReferences(GroupAnimations, CIndexChange::swapped(1, 3));
    EXPECT_EQ(objectIndexes(w), (std::vector<int>{-1, 3, 1, 0, 0}));
    holder->renumberReferences(GroupMaps, CIndexChange::moved(0, 2));
    EXPECT_EQ(objectIndexes(w), (std::vector<int>{-1, 3, 0, 0, 0}));
    holder->renumberReferences(GroupTrajectories, CIndexChange::removed(0, 3));
    EXPECT_EQ(w.elementAt(0)->trajectoryIndex, 1);
    EXPECT_EQ(w.elementAt(3)->trajectoryIndex, -1);
    // Groups that worlds do not refer to change nothing.
    holder->renumberReferences(GroupSounds, CIndexChange::removed(0, 3));
    EXPECT_EQ(objectIndexes(w), (std::vector<int>{-1, 3, 0, 0, 0}));

    // The range and replacement forms touch only the type asked for.
    w.shiftObjectReferences(WorldObjectAnimation, 0, 5, 10);
    w.replaceObjectReference(WorldObjectMap, 0, 8);
    w.shiftWorldReferences(0, 0, 4);
    w.replaceTrajectoryReference(1, 6);
    EXPECT_EQ(objectIndexes(w), (std::vector<int>{-1, 13, 8, 4, 4}));
    EXPECT_EQ(w.elementAt(0)->trajectoryIndex, 6);
}

TEST(WorldElementSort, SelectedRowsByOffsetYKeepingEqualOnesInOrder)
{
    GameWorld w;
    const double ys[] = {5, 2, 5, 1};
    const char* ids[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i)
        w.elementAt(w.addElement(ids[i]))->offsetY = ys[i];
    auto order = [&] {
        std::string s;
        for (const WorldElement& e : w.elements())
            s += e.id;
        return s;
    };
    EXPECT_EQ(CWorldElementSort::sortSelectedByOffsetY(w, {0, 1, 2, 3}), 1);
    EXPECT_EQ(order(), "dbac");
    EXPECT_EQ(CWorldElementSort::sortSelectedByOffsetY(w, {0, 1, 2, 3}), 0);

    // Only rows 1 and 3 take part (y 2 and 5); the others stay put.
    GameWorld v;
    for (double y : {9.0, 5.0, 0.0, 2.0})
        v.elementAt(v.addElement(std::to_string(int(y))))->offsetY = y;
    EXPECT_EQ(CWorldElementSort::sortSelectedByOffsetY(v, {3, 1, 7, -1}), 1);
    std::vector<double> after;
    for (const WorldElement& e : v.elements())
        after.push_back(e.offsetY);
    EXPECT_EQ(after, (std::vector<double>{9, 2, 0, 5}));
}
