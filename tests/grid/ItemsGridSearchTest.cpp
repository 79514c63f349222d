#include "grid/CItemsGridSearch.h"

#include <gtest/gtest.h>

TEST(ItemsGridSearch, WholeWordNeedsBlanksOrTheEndsAroundTheFirstOccurrence)
{
    const QString ab = QStringLiteral("ab");
    EXPECT_TRUE(CItemsGridSearch::matches(QStringLiteral("x ab"), ab, false, true));
    EXPECT_TRUE(CItemsGridSearch::matches(QStringLiteral("ab"), ab, false, true));
    EXPECT_FALSE(CItemsGridSearch::matches(QStringLiteral("abc"), ab, false, true));
    EXPECT_FALSE(CItemsGridSearch::matches(QStringLiteral("x-ab"), ab, false, true));
    EXPECT_TRUE(CItemsGridSearch::matches(QStringLiteral("x-AB"), ab, false, false));
    EXPECT_FALSE(CItemsGridSearch::matches(QStringLiteral("x-AB"), ab, true, false));
    EXPECT_EQ(CItemsGridSearch::replaced(QStringLiteral("Ab and aB"), ab, QStringLiteral("z"), false),
              QStringLiteral("z and z"));
}

TEST(ItemsGridSearch, TheWalkVisitsEveryCellOnceAndTheStartLast)
{
    const auto forward = CItemsGridSearch::walk(3, 2, {1, 0}, false);
    ASSERT_EQ(forward.size(), 6u);
    EXPECT_EQ(forward.front(), (CItemsGridSearch::Cell{2, 0}));
    EXPECT_EQ(forward[1], (CItemsGridSearch::Cell{0, 1})) << "columns within a row, then the next row";
    EXPECT_EQ(forward.back(), (CItemsGridSearch::Cell{1, 0}));
    const auto backward = CItemsGridSearch::walk(3, 2, {0, 0}, true);
    EXPECT_EQ(backward.front(), (CItemsGridSearch::Cell{2, 1})) << "backward wraps to the bottom right";
    EXPECT_EQ(backward.back(), (CItemsGridSearch::Cell{0, 0}));
    EXPECT_TRUE(CItemsGridSearch::walk(0, 5, {0, 0}, false).empty());
}
