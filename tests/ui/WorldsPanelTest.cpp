#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"
#include "kinds/worlds/ui/CWorldsPanel.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
using V = CWorldElementsView;

struct WorldsFixture : ::testing::Test {
    WorldsFixture() : holder(&createKindPrototype)
    {
        for (const char* id : {"w0", "w1", "w2"})
            holder.newItem(GroupWorlds, id);
        panel.attach(&holder, &host);
        panel.selectRow(0);
    }
    GameWorld& world(int i) { return *CWorldLoopGuard::world(holder, i); }
    CWorldElementsView& elements() { return *panel.elementsView(); }
    void selectElements(std::initializer_list<int> rows)
    {
        QItemSelectionModel* sel = elements().table()->selectionModel();
        sel->clearSelection();
        for (int r : rows)
            sel->select(elements().table()->model()->index(r, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    ScriptedUi ui;
    CResourceHolder holder;
    RecordingPanelHost host;
    CWorldsPanel panel;
};
} // namespace

TEST_F(WorldsFixture, ColumnsOfBothGrids)
{
    QStringList headers;
    for (int c = 0; c < panel.gridColumnCount(); ++c)
        headers << panel.table()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Index", "Select", "ID", "Type", "Play Offset", "Play Speed", "Offset X",
                                    "Offset Y", "Specifications", "Comments"}));
    EXPECT_EQ(V::header(V::ColObjectType), "Object\nType");
    EXPECT_EQ(V::header(V::ColTrajectoryPlaySpeed), "Trajectory\nPlay Speed");
    EXPECT_EQ(V::header(V::ColComments), "Comments");
    for (int spacer : {V::ColSpacer1, V::ColSpacer2, V::ColSpacer3})
        EXPECT_EQ(V::header(spacer), "");
    EXPECT_EQ(elements().title(), "w0");
}

TEST_F(WorldsFixture, SpeedsArePercentsClampedAndStoredAsFactors)
{
    const int speed = CWorldsPanel::ColPlaySpeed + CItemsGrid::kLeadingColumns;
    panel.editCell(speed, 0, "20000");
    EXPECT_DOUBLE_EQ(world(0).playSpeed(), 100.0);
    panel.editCell(speed, 0, "50");
    EXPECT_DOUBLE_EQ(world(0).playSpeed(), 0.5);

    ASSERT_EQ(elements().insertElement(), 0);
    EXPECT_EQ(world(0).elementAt(0)->id, "New ID");
    EXPECT_EQ(elements().setCellText(V::ColObjectPlaySpeed, 0, "-30000"), 1);
    EXPECT_DOUBLE_EQ(world(0).elementAt(0)->objectPlaySpeed, -100.0);
    EXPECT_EQ(elements().setCellText(V::ColOffsetY, 0, "12.5"), 1);
    EXPECT_DOUBLE_EQ(world(0).elementAt(0)->offsetY, 12.5);
    EXPECT_GT(host.modified, 0);
}

TEST_F(WorldsFixture, LoopGuardRefusesCyclesWithItsMessages)
{
    elements().insertElement();
    EXPECT_EQ(elements().setCellText(V::ColObjectType, 0, "World Reference"), 1);
    EXPECT_EQ(elements().setCellText(V::ColObjectIndex, 0, "1"), 1);
    // A reference to itself is refused and the old index stays.
    EXPECT_EQ(elements().setCellText(V::ColObjectIndex, 0, "0"), 0);
    EXPECT_EQ(world(0).elementAt(0)->objectIndex, 1);
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], CWorldLoopGuard::kIndexRefused);

    // World 1 including world 0 would close the cycle 0 -> 1 -> 0 when its
    // type turns into a world reference.
    panel.selectRow(1);
    elements().insertElement();
    EXPECT_EQ(elements().setCellText(V::ColObjectIndex, 0, "0"), 1);  // a bitmap: no check
    EXPECT_EQ(elements().setCellText(V::ColObjectType, 0, "World Elements"), 0);
    EXPECT_EQ(world(1).elementAt(0)->objectType, WorldObjectWorldElements);
    EXPECT_EQ(world(1).elementAt(0)->objectIndex, -1);
    ASSERT_EQ(ui.prompter.messages.size(), 2u);
    EXPECT_EQ(ui.prompter.messages[1], CWorldLoopGuard::kIndexSetToNone);
    // A world that does not exist is accepted.
    EXPECT_EQ(elements().setCellText(V::ColObjectIndex, 0, "9"), 1);
    EXPECT_TRUE(panel.check());
}

TEST_F(WorldsFixture, TakenInElementsHaveNoTimingCells)
{
    elements().insertElement();
    world(0).elementAt(0)->objectType = WorldObjectWorldElements;
    CellValue value;
    ASSERT_TRUE(elements().cellValue(V::ColTrajectoryIndex, 0, value));
    EXPECT_FALSE(value.isEditable());
    EXPECT_EQ(elements().cellText(V::ColTrajectoryIndex, 0), "");
    EXPECT_EQ(elements().setCellText(V::ColTrajectoryIndex, 0, "3"), 0);
    EXPECT_EQ(world(0).elementAt(0)->trajectoryIndex, -1);
}

TEST_F(WorldsFixture, WorldReferencesFollowDeletesEvenWithoutTheSwitch)
{
    host.maintain = false;
    for (int target : {0, 1, 2}) {
        const int e = world(2).addElement("e");
        world(2).elementAt(e)->objectType = WorldObjectWorldReference;
        world(2).elementAt(e)->objectIndex = target;
    }
    // World 2 refers to itself through element 2; the row delete ignores
    // that and only renumbers.
    panel.selectRow(1);
    panel.deleteItems();
    ASSERT_EQ(holder.count(GroupWorlds), 2);
    const GameWorld& last = world(1);
    EXPECT_EQ(last.elementAt(0)->objectIndex, 0);
    EXPECT_EQ(last.elementAt(1)->objectIndex, -1);
    EXPECT_EQ(last.elementAt(2)->objectIndex, 1);
}

TEST_F(WorldsFixture, SortSelectedByOffsetYKeepsEqualsInOrder)
{
    const double ys[] = {5, 2, 5, 1};
    for (int i = 0; i < 4; ++i) {
        elements().insertElement();
        world(0).elementAt(i)->offsetY = ys[i];
        world(0).elementAt(i)->id = std::to_string(i);
    }
    QMenu empty;
    elements().table()->selectionModel()->clearSelection();
    elements().fillContextMenu(empty);
    EXPECT_FALSE(empty.actions().last()->isEnabled());

    selectElements({0, 1, 2, 3});
    QMenu menu;
    elements().fillContextMenu(menu);
    QAction* sort = menu.actions().last();
    EXPECT_EQ(sort->text(), V::kSortEntry);
    ASSERT_TRUE(sort->isEnabled());
    EXPECT_EQ(elements().runCommand(sort->data().toInt()), 1);
    std::vector<std::string> ids;
    for (int i = 0; i < 4; ++i)
        ids.push_back(world(0).elementAt(i)->id);
    EXPECT_EQ(ids, (std::vector<std::string>{"3", "1", "0", "2"}));
}

TEST_F(WorldsFixture, EditsThatChangeThePictureRefreshAfterTheDelay)
{
    elements().insertElement();
    elements().refreshNow();
    EXPECT_EQ(elements().setCellText(V::ColId, 0, "tree"), 1);
    EXPECT_FALSE(elements().refreshPending());
    EXPECT_EQ(elements().setCellText(V::ColPlayOffset, 0, "3"), 1);
    EXPECT_TRUE(elements().refreshPending());
    elements().refreshNow();
    EXPECT_FALSE(elements().refreshPending());
    int instances = 0;
    elements().withInstance([&](const WorldInstance& w) { instances = w.instanceCount(); });
    EXPECT_EQ(instances, 1);
    EXPECT_TRUE(elements().step(1.0));
}

TEST_F(WorldsFixture, UnknownTypesShowAsSuchAndCannotBeChosen)
{
    world(1).setWorldType(7);
    const int type = CWorldsPanel::ColType + CItemsGrid::kLeadingColumns;
    EXPECT_EQ(panel.gridCellText(type, 1), "Unkown");
    panel.selectRow(1);
    panel.editCell(type, 1, "Unkown");
    EXPECT_EQ(world(1).worldType(), 7);
    panel.editCell(type, 1, "Sort Offsets Y");
    EXPECT_EQ(world(1).worldType(), GameWorld::kTypeSortOffsetsY);

    elements().insertElement();
    world(1).elementAt(0)->objectType = 9;
    EXPECT_EQ(elements().cellText(V::ColObjectType, 0), "Unkown");
    EXPECT_EQ(elements().setCellText(V::ColObjectType, 0, "Unkown"), 0);
    EXPECT_EQ(world(1).elementAt(0)->objectType, 9);
}

// Pictures of the user interfaces and worlds panels on the demo document,
// for looking at by eye: written only when QUILLOP_SCREENSHOTS names a
// folder.
TEST(WorldsPanelPictures, DemoDocumentPanels)
{
    const QString out = qEnvironmentVariable("QUILLOP_SCREENSHOTS");
    if (out.isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS not set";
    QDir().mkpath(out);
    const QString demo = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../examples/demo.mrc"));
    auto holder = createDocumentHolder();
    ASSERT_EQ(holder->load(demo.toStdString()), 1);
    RecordingPanelHost host;
    CUserInterfacesPanel interfaces;
    CWorldsPanel worlds;
    const std::vector<std::pair<CItemsGrid*, const char*>> grids{{&interfaces, "grid_userinterfaces.png"},
                                                                 {&worlds, "grid_worlds.png"}};
    for (const auto& [grid, name] : grids) {
        grid->resize(1280, 700);
        grid->attach(holder.get(), &host);
        grid->show();
        grid->selectRow(0);
        grid->reloadEditorView();
        for (int i = 0; i < 30; ++i)
            grid->runGameStep();
        QCoreApplication::processEvents();
        EXPECT_TRUE(grid->grab().save(QDir(out).filePath(QString::fromLatin1(name))));
    }
}
