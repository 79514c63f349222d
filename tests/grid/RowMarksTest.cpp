#include "grid/CRowMarks.h"

#include <gtest/gtest.h>

TEST(RowMarks, KeepTheOrderTheyWereMadeInAndFollowTheirRows)
{
    CRowMarks marks;
    marks.resize(5);
    marks.set(3, true);
    marks.set(1, true);
    marks.set(3, true);
    EXPECT_EQ(marks.marked(5), (std::vector<int>{1, 3}));
    EXPECT_EQ(marks.inMarkOrder(5), (std::vector<int>{3, 1})) << "marking again keeps the first place";
    marks.rearrange({3, 0, 1, 2, 4}, 5);
    EXPECT_EQ(marks.marked(5), (std::vector<int>{0, 2})) << "row 3 moved to the top";
    EXPECT_EQ(marks.inMarkOrder(5), (std::vector<int>{0, 2})) << "the mark order moves with the rows";
    marks.rearrange({4, 1, 2, 3, 0}, 5);
    EXPECT_EQ(marks.marked(5), (std::vector<int>{2, 4}));
    marks.invert(5);
    EXPECT_EQ(marks.marked(5), (std::vector<int>{0, 1, 3}));
    marks.markTogether({4, 9}, true);
    EXPECT_EQ(marks.marked(5), std::vector<int>{4}) << "a row outside the marks is not written";
    marks.set(7, true);
    EXPECT_FALSE(marks.isMarked(7));
    EXPECT_TRUE(marks.marked(4).empty()) << "only the rows asked about";
    marks.rearrange({0, 2, 3}, 5);
    EXPECT_EQ(marks.size(), 3);
    EXPECT_TRUE(marks.marked(3).empty()) << "the marked row 4 was deleted, its mark with it";
    marks.markAll(3);
    EXPECT_EQ(marks.inMarkOrder(3), (std::vector<int>{0, 1, 2}));
}
