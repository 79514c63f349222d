#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"
#include "core/RowOrder.h"
#include "grid/CellValue.h"
#include "grid/ui/CItemsGrid.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

#include <random>

namespace {
// An item of the Texts group that keeps a reference to a row of Colors, so
// that the grid's reference keeping can be watched.
class RefItem : public CResourceItem {
public:
    std::unique_ptr<CResourceItem> createDefault() const override { return std::make_unique<RefItem>(); }
    void renumberReferences(int group, const CIndexChange& change) override
    {
        if (group == GroupColors)
            change.update(ref);
    }
    int ref = -1;
};

std::unique_ptr<CResourceItem> prototypes(int group)
{
    if (group == GroupTexts)
        return std::make_unique<RefItem>();
    return CResourceHolder::plainPrototype(group);
}

// A grid whose row commands are recorded on the way through.
class RecordingGrid : public CItemsGrid {
public:
    using CItemsGrid::CItemsGrid;
    int rearrangeItems(const std::vector<int>& order) override
    {
        orders.push_back(order);
        return CItemsGrid::rearrangeItems(order);
    }
    std::vector<std::vector<int>> orders;
};

struct GridFixture : ::testing::Test {
    GridFixture() : holder(&prototypes), grid(GroupColors)
    {
        for (const char* id : {"a", "b", "c", "d", "e", "f", "g"})
            holder.newItem(GroupColors, id);
        grid.attach(&holder, &host);
    }

    std::string ids() const
    {
        std::string out;
        for (int i = 0; i < holder.count(GroupColors); ++i)
            out += holder.get(GroupColors, i)->id();
        return out;
    }
    std::vector<int> marked() const
    {
        std::vector<int> rows;
        for (int i = 0; i < grid.rowCount(); ++i)
            if (grid.isMarked(i))
                rows.push_back(i);
        return rows;
    }

    CResourceHolder holder;
    RecordingPanelHost host;
    RecordingGrid grid;
};
} // namespace

TEST_F(GridFixture, DeleteRemovesMarkedRowsAndTheCursorRowFromTheBottomUp)
{
    grid.setMarked(2, true);
    grid.setMarked(5, true);
    grid.setCurrentCell(2, 3);
    EXPECT_EQ(grid.selectedCount(), 3);
    grid.deleteItems();
    EXPECT_EQ(grid.orders, (std::vector<std::vector<int>>{{0, 1, 4, 6}})) << "rows 5, 3 and 2 go in one change";
    EXPECT_EQ(ids(), "abeg");
    EXPECT_TRUE(marked().empty()) << "marks are cleared after a delete";
    EXPECT_GT(host.modified, 0);
}

TEST_F(GridFixture, MovesStopAtTheEdgesAndCarryTheMarks)
{
    grid.setMarked(0, true);
    grid.setMarked(3, true);
    grid.setCurrentCell(2, 3);
    grid.moveUp();
    EXPECT_EQ(ids(), "abcdefg") << "nothing moves when the first of the set is at the top";

    grid.setMarked(0, false);
    grid.setMarked(5, true);
    grid.moveUp();
    EXPECT_EQ(ids(), "abdcfeg");
    EXPECT_EQ(marked(), (std::vector<int>{2, 4}));
    EXPECT_EQ(grid.currentItem(), 2);

    grid.setMarked(2, false);
    grid.setCurrentCell(2, 6);
    grid.moveDown();
    EXPECT_EQ(ids(), "abdcfeg") << "nothing moves when the last of the set is at the bottom";
}

TEST_F(GridFixture, GroupGathersTheSetAfterItsFirstInOrder)
{
    grid.setMarked(1, true);
    grid.setMarked(4, true);
    grid.setMarked(6, true);
    grid.setCurrentCell(2, 1);
    grid.groupItems();
    EXPECT_EQ(ids(), "abegcdf");
    EXPECT_EQ(marked(), (std::vector<int>{1, 2, 3}));
}

TEST_F(GridFixture, SortOfANonContiguousSetKeepsTheRowPositions)
{
    holder.get(GroupColors, 1)->setId("3");
    holder.get(GroupColors, 3)->setId("1");
    holder.get(GroupColors, 5)->setId("2");
    grid.reload();
    grid.setMarked(1, true);
    grid.setMarked(5, true);
    grid.setCurrentCell(CItemsGrid::kLeadingColumns, 3);  // the ID column, on the third member
    grid.sortItems(true);
    EXPECT_EQ(ids(), "a1c2e3g");
    EXPECT_EQ(marked(), (std::vector<int>{3, 5})) << "marks follow their items";
    grid.setMarked(1, true);
    grid.sortItems(false);
    EXPECT_EQ(ids(), "a3c2e1g");
    grid.setCurrentCell(0, 3);  // the row-number column
    grid.sortItems(false);
    EXPECT_EQ(ids(), "a1c2e3g") << "by row number, descending reverses the set (and comes to an end)";
}

namespace {
// A grid whose comment cells are of mixed sorts, by their first letter:
// "i" an integer, "r" a real, "t" a typed text, "n" a panel's own rank,
// anything else a plain text.
class MixedGrid : public CItemsGrid {
public:
    using CItemsGrid::CItemsGrid;
    bool editorCellValue(int column, int item, CellValue& value) const override
    {
        const std::string c = comment(item);
        if (column != 1 || c.empty())
            return false;
        if (c[0] == 'i')
            value.assignInteger(CellValue::readInteger(c.substr(1)));
        else if (c[0] == 'r')
            value.assignReal(CellValue::readReal(c.substr(1)));
        else if (c[0] == 't')
            value.assignText(c.substr(1));
        return c[0] == 'i' || c[0] == 'r' || c[0] == 't';
    }
    bool sortRank(int gridColumn, int item, double& rank) const override
    {
        const std::string c = comment(item);
        if (gridColumn != kLeadingColumns + 1 || c.empty() || c[0] != 'n')
            return CItemsGrid::sortRank(gridColumn, item, rank);
        rank = -CellValue::readReal(c.substr(1));
        return true;
    }
    // The rule the grid sorted by when it read both cells at each comparison.
    int pairwise(int gridColumn, int a, int b) const
    {
        double x = 0;
        double y = 0;
        if (sortRank(gridColumn, a, x) && sortRank(gridColumn, b, y))
            return (x > y) - (x < y);
        CellValue left;
        CellValue right;
        const int column = gridColumn - kLeadingColumns;
        if (column >= 0 && editorCellValue(column, a, left) && editorCellValue(column, b, right))
            return left.isGreaterThan(right) ? 1 : right.isGreaterThan(left) ? -1 : 0;
        return QString::compare(gridCellText(gridColumn, a), gridCellText(gridColumn, b), Qt::CaseSensitive);
    }

private:
    std::string comment(int item) const { return itemAt(item) ? itemAt(item)->comments() : std::string(); }
};
} // namespace

TEST_F(GridFixture, SortingByKeysReadOnceOrdersAsComparingCellsPairwise)
{
    MixedGrid mixed(GroupTexts);
    mixed.attach(&holder, &host);
    std::mt19937 rng(11);
    const std::vector<std::string> comments = {"i3", "i-1", "r2.5", "r-0.5", "t+4", "t!", "tb", "n4", "n2", "b", "A", "", "+10"};
    for (int round = 0; round < 24; ++round) {
        while (holder.count(GroupTexts) > 0)
            holder.remove(GroupTexts, 0);
        for (int i = 0; i < 30; ++i) {
            const int row = holder.newItem(GroupTexts, std::string(1, static_cast<char>('a' + rng() % 4)));
            holder.get(GroupTexts, row)->setComments(comments[rng() % (round < 8 ? 4 : comments.size())]);
        }
        mixed.reload();
        for (int r = 0; r < 30; ++r)
            mixed.setMarked(r, rng() % 3 != 0);
        const int column = round % 4;  // row number, marks, ID, comments
        const bool ascending = round / 4 % 2 == 0;
        mixed.setCurrentCell(column, 0);
        std::vector<std::string> expected;
        for (int old : RowOrder::sorted(30, mixed.selectionSet(true), ascending,
                                        [&](int a, int b) { return mixed.pairwise(column, a, b); }))
            expected.push_back(holder.get(GroupTexts, old)->id() + holder.get(GroupTexts, old)->comments());
        mixed.sortItems(ascending);
        std::vector<std::string> actual;
        for (int r = 0; r < 30; ++r)
            actual.push_back(holder.get(GroupTexts, r)->id() + holder.get(GroupTexts, r)->comments());
        EXPECT_EQ(actual, expected) << "round " << round << ", column " << column;
    }
}

TEST_F(GridFixture, OneEditWritesTheSameColumnOfEveryMarkedRow)
{
    grid.setMarked(0, true);
    grid.setMarked(4, true);
    grid.setCurrentCell(3, 2);
    grid.editCell(3, 2, QStringLiteral("shared"));
    for (int row : {0, 2, 4})
        EXPECT_EQ(holder.get(GroupColors, row)->comments(), "shared") << row;
    EXPECT_EQ(holder.get(GroupColors, 1)->comments(), "");
    EXPECT_EQ(ids(), "abcdefg") << "other columns untouched";
}

TEST_F(GridFixture, ReferencesFollowDeletesMovesAndSwapsOnlyWhenMaintained)
{
    const int a = holder.newItem(GroupTexts, "refers to e");
    auto* item = static_cast<RefItem*>(holder.get(GroupTexts, a));
    item->ref = 4;
    grid.setCurrentCell(2, 1);
    grid.deleteItems();
    EXPECT_EQ(item->ref, 3);
    grid.setCurrentCell(2, 3);
    grid.moveUp();
    EXPECT_EQ(item->ref, 2);
    grid.setCurrentCell(2, 2);
    grid.deleteItems();
    EXPECT_EQ(item->ref, -1) << "a reference to a deleted row is cleared";

    item->ref = 3;
    host.maintain = false;
    grid.setCurrentCell(2, 0);
    grid.deleteItems();
    EXPECT_EQ(item->ref, 3) << "switched off, references stay as they are";
}

TEST_F(GridFixture, FindNextComesBackToTheOnlyMatchAfterAFullCircuit)
{
    holder.get(GroupColors, 3)->setComments("needle");
    grid.reload();
    grid.setCurrentCell(3, 3);
    CItemsGrid::findOptions() = CFindOptions{};
    CItemsGrid::findOptions().text = QStringLiteral("NEEDLE");
    EXPECT_TRUE(grid.findNext(false));
    EXPECT_EQ(grid.currentItem(), 3);
    EXPECT_EQ(grid.currentColumn(), 3);
    CItemsGrid::findOptions().matchCase = true;
    EXPECT_FALSE(grid.findNext(false));
}

TEST_F(GridFixture, FindSelectsEveryMatchingRowAndReplaceAsks)
{
    ScriptedUi ui;
    holder.get(GroupColors, 1)->setComments("tile one");
    holder.get(GroupColors, 4)->setComments("Tile two");
    grid.reload();
    grid.setMarked(6, true);
    CFindOptions& options = CItemsGrid::findOptions();
    options = CFindOptions{};
    options.text = QStringLiteral("tile");
    options.selectItems = true;
    EXPECT_TRUE(grid.find());
    EXPECT_EQ(marked(), (std::vector<int>{1, 4})) << "previous marks are cleared first";
    EXPECT_EQ(grid.currentItem(), 1);

    options.selectItems = false;
    options.replace = true;
    options.replacement = QStringLiteral("cell");
    ui.prompter.answers = {IPrompter::Answer::Yes, IPrompter::Answer::No};
    EXPECT_TRUE(grid.find());
    ASSERT_EQ(ui.prompter.messages.size(), 2u);
    EXPECT_EQ(ui.prompter.messages[0], "Replace \"tile\" with \"cell\" ?");
    const int replacedRow = holder.get(GroupColors, 4)->comments() == "cell two" ? 4 : 1;
    const int keptRow = replacedRow == 4 ? 1 : 4;
    EXPECT_NE(holder.get(GroupColors, keptRow)->comments().find("ile"), std::string::npos);
    EXPECT_NE(holder.get(GroupColors, replacedRow)->comments().find("cell"), std::string::npos);
}

TEST_F(GridFixture, ContextMenuGreysByTheSelectionAndRefusesFiles)
{
    ScriptedUi ui;
    auto enabled = [&](int command) {
        QMenu menu;
        grid.fillContextMenu(menu);
        for (QAction* a : menu.actions())
            if (a->data().toInt() == command && !a->menu())
                return a->isEnabled();
        ADD_FAILURE() << "no entry " << command;
        return false;
    };
    EXPECT_TRUE(enabled(CItemsGrid::CmdDelete));
    EXPECT_FALSE(enabled(CItemsGrid::CmdClone));
    EXPECT_FALSE(enabled(CItemsGrid::CmdPaste));

    CResourceHolder empty;
    RecordingGrid bare(GroupColors);
    bare.attach(&empty, &host);
    QMenu menu;
    bare.fillContextMenu(menu);
    for (QAction* a : menu.actions()) {
        const int c = a->data().toInt();
        if (c == CItemsGrid::CmdInsert || c == CItemsGrid::CmdRefresh) {
            EXPECT_TRUE(a->isEnabled()) << c;
        } else if (c != 0) {
            EXPECT_FALSE(a->isEnabled()) << c;
        }
    }

    grid.dropFiles({QStringLiteral("/tmp/x.png")});
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], "This group of resources does not accept files !");
}

TEST_F(GridFixture, InsertAddsANewIdRowAndMakesItCurrent)
{
    grid.insertItem();
    EXPECT_EQ(holder.count(GroupColors), 8);
    EXPECT_EQ(holder.get(GroupColors, 7)->id(), "New ID");
    EXPECT_EQ(grid.currentItem(), 7);
    EXPECT_EQ(grid.table()->model()->rowCount(), 8);
}
