#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "kinds/CItemKinds.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/trajectories/ui/CTrajectoriesPanel.h"
#include "kinds/trajectories/ui/TrajectoryPlayer.h"
#include "kinds/worlds/GameWorld.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QAbstractItemModel>
#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

#include <vector>

namespace {
using P = CTrajectoriesPanel;

// An open trajectory with the same points, to work out what a command
// should have done.
std::unique_ptr<Trajectory> copyOf(const Trajectory& t)
{
    auto copy = std::make_unique<Trajectory>();
    for (const TrajectoryPoint& p : t.points())
        copy->AddPoint(p.x, p.y);
    return copy;
}

bool samePoints(const Trajectory& a, const Trajectory& b)
{
    const auto& pa = a.points();
    const auto& pb = b.points();
    if (pa.size() != pb.size())
        return false;
    for (std::size_t i = 0; i < pa.size(); ++i)
        if (pa[i].x != pb[i].x || pa[i].y != pb[i].y)
            return false;
    return true;
}

// Three trajectories: "line" with 2 points, "square" with 4, "empty" with none.
struct TrajectoriesPanelFixture : ::testing::Test {
    TrajectoriesPanelFixture() : holder(createDocumentHolder())
    {
        add("line", {{0.5, 0.5}, {40.7, 30.2}});
        add("square", {{10.9, 10.2}, {50.0, 10.0}, {50.0, 50.0}, {10.0, 50.0}});
        add("empty", {});
        panel.attach(holder.get(), &host);
        panel.setCurrentCell(CItemsGrid::kLeadingColumns, 1);
    }
    void add(const char* id, std::vector<TrajectoryPoint> points)
    {
        Trajectory* t = traj(holder->newItem(GroupTrajectories, id));
        for (const TrajectoryPoint& p : points)
            t->AddPoint(p.x, p.y);
    }
    Trajectory* traj(int row) { return dynamic_cast<Trajectory*>(holder->get(GroupTrajectories, row)); }
    void edit(int column, int row, const char* text)
    {
        panel.editCell(CItemsGrid::kLeadingColumns + column, row, text);
    }
    QString cell(int column, int row) { return panel.gridCellText(CItemsGrid::kLeadingColumns + column, row); }
    bool run(int entry) { return panel.command(CItemsGrid::kEditorBase, CItemsGrid::kEditorBase + entry) == 1; }

    ScriptedUi ui;
    std::unique_ptr<CResourceHolder> holder;
    RecordingPanelHost host;
    CTrajectoriesPanel panel;
};
} // namespace

TEST_F(TrajectoriesPanelFixture, ColumnsCellKindsAndEditableFlags)
{
    const QStringList titles{"ID",       "Type",     "Closed Shape",   "Play Mode", "Play Speed",
                             "Offset X", "Offset Y", "Specifications", "Comments"};
    ASSERT_EQ(panel.editorColumnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(panel.editorHeader(c), titles[c]);
        EXPECT_EQ(panel.editorCellEditable(c), c != P::ColSpecs) << titles[c].toStdString();
    }
    // The grid's own row-number column is the "Index" column.
    EXPECT_EQ(panel.table()->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Index");

    const std::pair<int, int> kinds[] = {
        {P::ColType, CellValue::KindChoice},     {P::ColClosedShape, CellValue::KindYesNo},
        {P::ColPlayMode, CellValue::KindChoice}, {P::ColPlaySpeed, CellValue::KindReal},
        {P::ColOffsetX, CellValue::KindInteger}, {P::ColComments, CellValue::KindLongText},
    };
    for (const auto& [column, kind] : kinds) {
        CellValue value;
        ASSERT_TRUE(panel.editorCellValue(column, 0, value));
        EXPECT_EQ(value.kind(), kind) << column;
    }
    EXPECT_EQ(cell(P::ColType, 0), "Simple Points");
    EXPECT_EQ(cell(P::ColPlayMode, 0), "Forward Loop");
    EXPECT_EQ(cell(P::ColSpecs, 1), "4 Points, 64 Bytes");

    // A type or play mode that only a file could hold shows its number and
    // cannot be pasted onto another trajectory as if it were listed.
    traj(2)->SetPlayMode(12);
    EXPECT_EQ(cell(P::ColPlayMode, 2), "+12");
    edit(P::ColPlayMode, 0, "Not a mode");
    EXPECT_EQ(traj(0)->GetPlayMode(), 1);
}

TEST_F(TrajectoriesPanelFixture, PlaySpeedIsAClampedPercentage)
{
    edit(P::ColPlaySpeed, 0, "20000");
    EXPECT_DOUBLE_EQ(traj(0)->GetPlaySpeed(), 100.0);
    EXPECT_EQ(cell(P::ColPlaySpeed, 0), "+10000");
    edit(P::ColPlaySpeed, 0, "-30000");
    EXPECT_DOUBLE_EQ(traj(0)->GetPlaySpeed(), -100.0);
    edit(P::ColPlaySpeed, 0, "12.5");
    EXPECT_DOUBLE_EQ(traj(0)->GetPlaySpeed(), 0.125);
    const double before = traj(0)->GetPlaySpeed();
    edit(P::ColPlaySpeed, 0, "nan");
    EXPECT_DOUBLE_EQ(traj(0)->GetPlaySpeed(), before) << "not a number is no speed";
}

TEST_F(TrajectoriesPanelFixture, EditsOfTheCurrentRowReloadThePlayer)
{
    ASSERT_EQ(panel.player()->currentIndex(), 1);
    EXPECT_DOUBLE_EQ(panel.player()->clock().GetEnd(), 3.0);
    edit(P::ColPlayMode, 1, "Backward Once");
    EXPECT_EQ(traj(1)->GetPlayMode(), 4);
    EXPECT_EQ(panel.player()->clock().GetPlayMode(), 4);
    EXPECT_DOUBLE_EQ(panel.player()->clock().GetPosition(), 3.0) << "a backward mode starts at the last point";

    edit(P::ColClosedShape, 1, "Yes");
    EXPECT_EQ(traj(1)->GetPointCount(), 5);
    EXPECT_DOUBLE_EQ(panel.player()->clock().GetEnd(), 4.0) << "the closing point is part of the path played";

    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 2);
    EXPECT_EQ(panel.player()->currentIndex(), 2);
    EXPECT_DOUBLE_EQ(panel.player()->clock().GetEnd(), 0.0);
}

TEST_F(TrajectoriesPanelFixture, PasteCopiesTheStoredFields)
{
    // A speed no edit could give (15000 %) and one that does not survive a
    // round trip through a percentage exactly are both copied as stored.
    traj(1)->SetPlaySpeed(150.0);
    EXPECT_EQ(panel.copyEditorCell(P::ColPlaySpeed, 0, 1), 1);
    EXPECT_EQ(traj(0)->GetPlaySpeed(), 150.0);
    traj(1)->SetPlaySpeed(0.1 + 0.2);
    panel.copyEditorCell(P::ColPlaySpeed, 0, 1);
    EXPECT_EQ(traj(0)->GetPlaySpeed(), 0.1 + 0.2);

    // The closed flag goes through the point rule: the line gains its
    // closing point.
    traj(1)->SetClosedShape(true);
    EXPECT_EQ(panel.copyEditorCell(P::ColClosedShape, 0, 1), 1);
    EXPECT_TRUE(traj(0)->IsClosedShape());
    ASSERT_EQ(traj(0)->GetPointCount(), 3);
    EXPECT_EQ(traj(0)->GetPoint(2).x, traj(0)->GetPoint(0).x);

    // A play mode outside the list travels unchanged too: it is the stored field.
    traj(1)->SetPlayMode(9);
    panel.copyEditorCell(P::ColPlayMode, 2, 1);
    EXPECT_EQ(traj(2)->GetPlayMode(), 9);

    EXPECT_EQ(panel.copyEditorCell(P::ColId, 2, 1), 1);
    EXPECT_EQ(traj(2)->id(), "square") << "two trajectories may end with one ID";
    EXPECT_EQ(panel.copyEditorCell(P::ColSpecs, 2, 0), 0);

    // One edit with other rows marked: the marked rows get the same value.
    panel.setMarked(0, true);
    panel.setMarked(2, true);
    edit(P::ColOffsetX, 1, "-7");
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(traj(row)->GetOffsetX(), -7) << row;
}

TEST_F(TrajectoriesPanelFixture, MenuEntriesAndWhenTheyAreGreyed)
{
    struct Entry {
        int offset;
        const char* label;
        const char* help;
    };
    const Entry expected[] = {
        {100, "&Remove All Points", "Clear the entire trajectory path !"},
        {101, "Res&ample Points...", "Resample the trajectory path"},
        {102, "&Smooth Points...", "Smooth the trajectory path"},
        {103, "&Quantify Points...", "Quantify the trajectory path"},
        {104, "Add &Noise to Points...", "Add noise to the trajectory path"},
        {-1, "", ""},
        {400, "Convert Trajectories to Re&gion", "Convert the selected trajectories to a region"},
        {-1, "", ""},
        {500, "Update Center of &Mass", "Recalculate the center of mass"},
    };
    auto entries = [&](bool enabled) {
        QMenu menu;
        panel.buildMenu(menu, CItemsGrid::kEditorBase);
        const QList<QAction*> actions = menu.actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
        for (qsizetype i = 0; i < actions.size(); ++i) {
            const Entry& e = expected[i];
            if (e.offset < 0) {
                EXPECT_TRUE(actions[i]->isSeparator()) << i;
                continue;
            }
            EXPECT_EQ(actions[i]->text(), e.label);
            EXPECT_EQ(actions[i]->statusTip(), e.help);
            EXPECT_EQ(actions[i]->data().toInt(), CItemsGrid::kEditorBase + e.offset);
            EXPECT_EQ(actions[i]->isEnabled(), enabled) << e.label;
        }
    };
    entries(true);

    // The current trajectory has no points: everything is greyed, even with
    // trajectories with points marked, and the commands do nothing.
    panel.setMarked(0, true);
    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 2);
    entries(false);
    EXPECT_FALSE(run(P::MenuRemoveAllPoints));
    EXPECT_EQ(traj(0)->GetPointCount(), 2);
    EXPECT_FALSE(run(P::MenuConvertToRegion));
    EXPECT_EQ(holder->count(GroupBitmaps), 0);

    CTrajectoriesPanel detached;
    EXPECT_FALSE(detached.commandsEnabled()) << "no current row";
}

TEST_F(TrajectoriesPanelFixture, CommandsActOnTheSelectionOnly)
{
    // Rows 0 (marked) and 1 (current) are the selection; row 2 is left alone.
    add("other", {{3.3, 4.4}, {7.7, 8.8}, {9.9, 1.1}});
    panel.reload();
    panel.setMarked(0, true);
    const auto line = copyOf(*traj(0));
    const auto square = copyOf(*traj(1));
    const auto other = copyOf(*traj(3));

    ui.values.answers = {"4"};
    ASSERT_TRUE(run(P::MenuQuantify));
    line->Quantify(4.0);
    square->Quantify(4.0);
    EXPECT_TRUE(samePoints(*traj(0), *line));
    EXPECT_TRUE(samePoints(*traj(1), *square));
    EXPECT_TRUE(samePoints(*traj(3), *other));

    ASSERT_TRUE(run(P::MenuUpdateCenterOfMass));
    EXPECT_DOUBLE_EQ(traj(1)->GetCenterOfMass().x, 28.0);
    EXPECT_DOUBLE_EQ(traj(3)->GetCenterOfMass().x, 0.0) << "unselected";

    ASSERT_TRUE(run(P::MenuRemoveAllPoints));
    EXPECT_EQ(traj(0)->GetPointCount(), 0);
    EXPECT_EQ(traj(1)->GetPointCount(), 0);
    EXPECT_EQ(traj(3)->GetPointCount(), 3);
    EXPECT_TRUE(ui.prompter.messages.empty()) << "clearing asks nothing";
    EXPECT_DOUBLE_EQ(panel.player()->clock().GetEnd(), 0.0) << "the player shows the cleared path";
}

TEST_F(TrajectoriesPanelFixture, PromptsOfferRememberAndClampTheirValues)
{
    const auto& asked = ui.values.requests;
    // Cancel: nothing changes and the value offered stays.
    const auto before = copyOf(*traj(1));
    EXPECT_FALSE(run(P::MenuResample));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Resample");
    EXPECT_EQ(asked[0].prompt, "Distance Between Points (0.01 to 10000)");
    EXPECT_EQ(asked[0].offered, "3.00");
    EXPECT_FALSE(asked[0].multiLine);
    EXPECT_TRUE(samePoints(*traj(1), *before));

    // A leading number is read, the rest ignored; then it is offered again.
    ui.values.answers = {"12abc"};
    EXPECT_TRUE(run(P::MenuResample));
    EXPECT_DOUBLE_EQ(panel.resampleDistance(), 12.0);
    before->Resample(12.0);
    EXPECT_TRUE(samePoints(*traj(1), *before));
    ui.values.answers = {"0"};
    run(P::MenuResample);
    EXPECT_EQ(asked.back().offered, "12.00");
    EXPECT_DOUBLE_EQ(panel.resampleDistance(), 0.01) << "0 is raised to the lower bound";

    ui.values.answers = {"12abc", "1", "99999"};
    run(P::MenuSmooth);
    EXPECT_EQ(asked.back().title, "Smooth");
    EXPECT_EQ(asked.back().prompt, "Smooth Range in Nb of Values (2 to 10000)");
    EXPECT_EQ(asked.back().offered, "10");
    EXPECT_EQ(panel.smoothRange(), 12);
    run(P::MenuSmooth);
    EXPECT_EQ(asked.back().offered, "12");
    EXPECT_EQ(panel.smoothRange(), 2);
    run(P::MenuSmooth);
    EXPECT_EQ(panel.smoothRange(), 10000);

    ui.values.answers = {"abc"};
    run(P::MenuQuantify);
    EXPECT_EQ(asked.back().title, "Quantify");
    EXPECT_EQ(asked.back().prompt, "Quantify Grid Size (0.001 to 10000)");
    EXPECT_EQ(asked.back().offered, "5.000");
    EXPECT_DOUBLE_EQ(panel.quantifyGrid(), 0.001) << "no number reads as 0";

    ui.values.answers = {"1e9"};
    run(P::MenuAddNoise);
    EXPECT_EQ(asked.back().title, "Add Noise");
    EXPECT_EQ(asked.back().prompt, "Noise Level (0.0001 to 10000)");
    EXPECT_EQ(asked.back().offered, "2.0000");
    EXPECT_DOUBLE_EQ(panel.noiseLevel(), 10000.0);

    // Another panel starts from the defaults: values are not shared or saved.
    CTrajectoriesPanel fresh;
    EXPECT_DOUBLE_EQ(fresh.resampleDistance(), 3.0);
    EXPECT_EQ(fresh.smoothRange(), 10);
}

TEST_F(TrajectoriesPanelFixture, ConvertingTheSelectionMakesARegionBitmap)
{
    holder->newItem(GroupBitmaps, "picture");
    panel.setMarked(0, true); // "line": two points, named but outlining nothing
    ASSERT_TRUE(panel.runCommand(CItemsGrid::kEditorBase + P::MenuConvertToRegion));

    ASSERT_EQ(holder->count(GroupBitmaps), 2);
    auto* bitmap = dynamic_cast<CBitmapItem*>(holder->get(GroupBitmaps, 1));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->id(), "New Region");
    EXPECT_EQ(bitmap->kind(), CDisplayBuffer::PaintingRegion);
    EXPECT_EQ(bitmap->comments(), "Trajectories: line, square");
    ASSERT_NE(bitmap->region(), nullptr);
    // The square's corners truncated toward zero, closed, filled even-odd.
    const QRegion square(QPolygon({QPoint(10, 10), QPoint(50, 10), QPoint(50, 50), QPoint(10, 50), QPoint(10, 10)}),
                         Qt::OddEvenFill);
    EXPECT_EQ(*bitmap->region(), square);
    EXPECT_EQ(host.reloads, 1) << "every panel shows the new bitmap";
    EXPECT_GE(host.modified, 1);
}

TEST_F(TrajectoriesPanelFixture, WorldElementsFollowTheirTrajectoriesWhenTheSwitchIsOn)
{
    add("fourth", {{1, 1}});
    panel.reload();
    auto* world = dynamic_cast<GameWorld*>(holder->get(GroupWorlds, holder->newItem(GroupWorlds, "w")));
    ASSERT_NE(world, nullptr);
    for (int t : {0, 1, 2, 3, -1})
        world->elementAt(world->addElement("e"))->trajectoryIndex = t;
    auto refs = [&] {
        std::vector<int> out;
        for (const WorldElement& e : world->elements())
            out.push_back(e.trajectoryIndex);
        return out;
    };

    // Moving 0 down one step: 0 and 1 exchange places.
    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 0);
    panel.moveDown();
    EXPECT_EQ(refs(), (std::vector<int>{1, 0, 2, 3, -1}));
    EXPECT_EQ(traj(1)->id(), "line");

    EXPECT_EQ(panel.swapItems(0, 3), 1);
    EXPECT_EQ(refs(), (std::vector<int>{1, 3, 2, 0, -1}));

    // Deleting "square" (now row 3): its references become none, later ones drop by one.
    panel.selectRow(3);
    panel.deleteItems();
    EXPECT_EQ(refs(), (std::vector<int>{1, -1, 2, 0, -1}));

    host.maintain = false;
    panel.selectRow(0);
    panel.deleteItems();
    EXPECT_EQ(panel.moveItem(0, 1), 1);
    EXPECT_EQ(refs(), (std::vector<int>{1, -1, 2, 0, -1})) << "with the switch off only the group changes";
    EXPECT_EQ(holder->count(GroupTrajectories), 2);
}

TEST_F(TrajectoriesPanelFixture, IntegrityCheckNamesWhatIsWrong)
{
    EXPECT_TRUE(panel.check());
    EXPECT_TRUE(ui.prompter.messages.empty());

    traj(2)->setId("line");
    EXPECT_FALSE(panel.check());
    EXPECT_EQ(panel.currentItem(), 2);
    traj(2)->setId("empty");

    // A closed shape read from a file whose last point is not its first.
    traj(1)->SetClosedShape(true);
    traj(1)->SetPoint(4, 99.0, 99.0);
    EXPECT_FALSE(panel.check());
    EXPECT_NE(ui.prompter.messages.back().find("\"square\""), std::string::npos) << ui.prompter.messages.back();
    EXPECT_EQ(panel.currentItem(), 1);
    traj(1)->SetPoint(4, traj(1)->GetPoint(0).x, traj(1)->GetPoint(0).y);
    EXPECT_TRUE(panel.check());

    traj(0)->SetType(5);
    EXPECT_FALSE(panel.check());
    EXPECT_NE(ui.prompter.messages.back().find("type 5"), std::string::npos) << ui.prompter.messages.back();
    traj(0)->SetType(TrajectoryCollisionTest);
    traj(0)->SetPlayMode(-3);
    EXPECT_FALSE(panel.check());
    EXPECT_NE(ui.prompter.messages.back().find("play mode -3"), std::string::npos) << ui.prompter.messages.back();
}
