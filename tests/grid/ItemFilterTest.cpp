#include "grid/CItemFilter.h"

#include <gtest/gtest.h>

// What a picker lists for each query over one small group: words in any
// case anywhere in the ID, every word needed, digits also matching the
// start of the index.
TEST(ItemFilter, ListsTheItemsEveryWordOfTheQueryFinds)
{
    CItemFilter items;
    items.setIds({"Hero_Walk_01", "hero_walk_02", "enemy", "", "Walk", "tree 12", "x", "x", "x", "x", "x", "x", "bush"});
    const struct {
        const char* query;
        std::vector<int> listed;
    } cases[] = {
        {"", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"   ", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"WALK", {0, 1, 4}},
        {"hero 02", {1}},
        {"02 hero", {1}},
        {"walk_0", {0, 1}},
        {"1", {0, 1, 5, 10, 11, 12}},   // IDs holding a 1, and indices 1, 10, 11, 12
        {"12", {5, 12}},                // "tree 12" by its ID, 12 by its index
        {"ush 1", {12}},
        {"nothing", {}},
        {"-1", {}},
        {"é", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(items.filter(c.query), c.listed) << "query \"" << c.query << '"';
        for (int i = 0; i < items.size(); ++i)
            EXPECT_EQ(items.matches(i, c.query),
                      std::find(c.listed.begin(), c.listed.end(), i) != c.listed.end())
                << "item " << i << " for \"" << c.query << '"';
    }
    EXPECT_FALSE(items.matches(-1, "")) << "no item outside the group";
    EXPECT_FALSE(items.matches(items.size(), ""));
    EXPECT_EQ(CItemFilter::label(3, "walk_02"), "3 - walk_02");
}
