#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> applied(const CIndexChange& change, std::vector<int> refs)
{
    for (int& r : refs)
        change.update(r);
    return refs;
}
} // namespace

TEST(IndexChange, DeleteClearsReferencesToTheRowAndShiftsTheRest)
{
    // Five rows 0..4, row 1 deleted: four remain (n = 4 after the change).
    EXPECT_EQ(applied(CIndexChange::removed(1, 4), {-1, 0, 1, 2, 3, 4, 7}), (std::vector<int>{-1, 0, -1, 1, 2, 3, 7}));
}

TEST(IndexChange, MoveFollowsTheMovedRowAndShiftsTheRowsBetween)
{
    EXPECT_EQ(applied(CIndexChange::moved(1, 3), {0, 1, 2, 3, 4, -1}), (std::vector<int>{0, 3, 1, 2, 4, -1}));
    EXPECT_EQ(applied(CIndexChange::moved(3, 1), {0, 1, 2, 3, 4}), (std::vector<int>{0, 2, 3, 1, 4}));
    EXPECT_EQ(applied(CIndexChange::moved(2, 2), {0, 1, 2, 3}), (std::vector<int>{0, 1, 2, 3}));
    // A stored value that happens to equal a marker a naive rewrite would use stays put.
    EXPECT_EQ(CIndexChange::moved(1, 3).apply(-10000), -10000);
}

TEST(IndexChange, SwapExchangesTheTwoRows)
{
    EXPECT_EQ(applied(CIndexChange::swapped(0, 2), {0, 1, 2, -1}), (std::vector<int>{2, 1, 0, -1}));
}

namespace {
struct Referring : CResourceItem {
    int bitmap = -1;
    std::unique_ptr<CResourceItem> createDefault() const override { return std::make_unique<Referring>(); }
    void renumberReferences(int group, const CIndexChange& change) override
    {
        if (group == GroupBitmaps)
            change.update(bitmap);
    }
};
} // namespace

TEST(IndexChange, TheHolderPassesAChangeToEveryItem)
{
    CResourceHolder h([](int) { return std::make_unique<Referring>(); });
    for (int g : {GroupAnimations, GroupMaps, GroupWorlds})
        static_cast<Referring*>(h.get(g, h.newItem(g, "r")))->bitmap = 2;
    h.renumberReferences(GroupBitmaps, CIndexChange::moved(2, 0));
    for (int g : {GroupAnimations, GroupMaps, GroupWorlds})
        EXPECT_EQ(static_cast<Referring*>(h.get(g, 0))->bitmap, 0);
    h.renumberReferences(GroupSounds, CIndexChange::removed(0, 0));
    EXPECT_EQ(static_cast<Referring*>(h.get(GroupMaps, 0))->bitmap, 0) << "other groups' changes do not touch bitmap references";
}
