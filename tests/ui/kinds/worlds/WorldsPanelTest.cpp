#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CCellEditor.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "kinds/userinterfaces/ui/CUserInterfaceItemsView.h"
#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"
#include "kinds/worlds/ui/CWorldPreview.h"
#include "kinds/worlds/ui/CWorldsPanel.h"
#include "ui/PanelTesting.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

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
    EXPECT_EQ(gridHeaders(panel), QStringList({"Index", "Select", "ID", "Type", "Play Offset", "Play Speed", "Offset X",
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
    EXPECT_TRUE(CWorldLoopGuard::acceptable(holder));
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
    auto sortEntry = [](const QMenu& menu) -> QAction* {
        for (QAction* action : menu.actions())
            if (action->text() == V::kSortEntry)
                return action;
        return nullptr;
    };
    QMenu empty;
    elements().table()->selectionModel()->clearSelection();
    elements().fillContextMenu(empty);
    ASSERT_TRUE(sortEntry(empty));
    EXPECT_FALSE(sortEntry(empty)->isEnabled());

    selectElements({0, 1, 2, 3});
    QMenu menu;
    elements().fillContextMenu(menu);
    QAction* sort = sortEntry(menu);
    ASSERT_TRUE(sort);
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

// The values a taken-in world passes on to its elements are read when the
// preview is built: changing them on such an element must rebuild it, while
// an element drawn on its own reads them as it plays.
TEST_F(WorldsFixture, TakenInWorldValuesRefreshThePreviewOnlyWhereTheyAreBuiltIn)
{
    world(1).addElement("leaf");
    elements().insertElement();
    elements().insertElement();
    world(0).elementAt(1)->objectType = WorldObjectWorldElements;
    world(0).elementAt(1)->objectIndex = 1;
    elements().refreshNow();
    for (int column : {V::ColShow, V::ColPlay, V::ColPlaySpeed, V::ColOffsetX, V::ColOffsetY}) {
        const char* typed = column == V::ColShow || column == V::ColPlay ? (column == V::ColPlay ? "No" : "Yes") : "50";
        EXPECT_EQ(elements().setCellText(column, 0, typed), 1) << column;
        EXPECT_FALSE(elements().refreshPending()) << "a bitmap element, column " << column;
        EXPECT_EQ(elements().setCellText(column, 1, typed), 1) << column;
        EXPECT_TRUE(elements().refreshPending()) << "a taken-in world, column " << column;
        elements().refreshNow();
    }
    // The rebuilt preview plays the taken-in element at the new speed.
    double speed = 0.0;
    elements().withInstance([&](const WorldInstance& w) {
        ASSERT_EQ(w.instanceCount(), 2);
        speed = w.instance(1)->inherited().playSpeed;
    });
    EXPECT_DOUBLE_EQ(speed, 0.5);
}

// The table keeps drawing while a cell's editor is open (the delayed
// refresh redraws every row): drawing other cells, of other kinds, must not
// change the value being edited.
TEST_F(WorldsFixture, DrawingDuringAnEditLeavesTheEditedValueAlone)
{
    elements().insertElement();
    elements().insertElement();
    QTableView& table = *elements().table();
    const QModelIndex offset = table.model()->index(1, V::ColOffsetX);
    EXPECT_EQ(editWhileOtherCellsDraw(table, offset, 0, V::ColObjectType, "12"), 1);
    EXPECT_DOUBLE_EQ(world(0).elementAt(1)->offsetX, 12.0);
    EXPECT_EQ(world(0).elementAt(1)->objectType, WorldObjectBitmap);
    EXPECT_DOUBLE_EQ(world(0).elementAt(0)->offsetX, 0.0);
}

// Cell editors are dialogs: while one is open the delayed refresh waits,
// and it comes once the editor is closed.
TEST_F(WorldsFixture, DelayedRefreshWaitsWhileAnEditorIsOpen)
{
    elements().insertElement();
    elements().refreshNow();
    EXPECT_EQ(elements().setCellText(V::ColPlayOffset, 0, "3"), 1);
    ASSERT_TRUE(elements().refreshPending());
    auto waitPastDelay = [] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2 * V::kRefreshDelayMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    {
        QDialog editor;
        editor.setModal(true);
        editor.show();
        ASSERT_EQ(QApplication::activeModalWidget(), &editor);
        waitPastDelay();
        EXPECT_TRUE(elements().refreshPending());
    }
    waitPastDelay();
    EXPECT_FALSE(elements().refreshPending());
}

TEST_F(WorldsFixture, PreviewCaptionGivesTimeFrameRateAndWorld)
{
    elements().insertElement();
    elements().refreshNow();
    elements().step(1.0);
    elements().step(1.5);
    const QStringList lines = elements().preview()->caption().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(lines[0], "2.50");
    EXPECT_TRUE(lines[1].endsWith(" Fps")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "w0");
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

TEST_F(WorldsFixture, ElementEditGoesIntoEverySelectedElement)
{
    for (int i = 0; i < 4; ++i)
        elements().insertElement();
    selectElements({0, 1, 3});
    EXPECT_EQ(elements().editCellText(V::ColOffsetX, 1, "7.5"), 3);
    EXPECT_EQ(elements().editCellText(V::ColPlaySpeed, 1, "20000"), 3);
    for (int i : {0, 1, 3}) {
        EXPECT_DOUBLE_EQ(world(0).elementAt(i)->offsetX, 7.5) << i;
        EXPECT_DOUBLE_EQ(world(0).elementAt(i)->playSpeed, 100.0) << i;
    }
    EXPECT_DOUBLE_EQ(world(0).elementAt(2)->offsetX, 0.0);
    EXPECT_DOUBLE_EQ(world(0).elementAt(2)->playSpeed, 1.0);

    // Columns with nothing to write stay so, in every row.
    for (int column : {V::ColIndex, V::ColSpacer1, V::ColSpecs})
        EXPECT_EQ(elements().editCellText(column, 1, "3"), 0) << column;
    EXPECT_EQ(elements().cellText(V::ColIndex, 3), "3");
    EXPECT_EQ(elements().cellText(V::ColSpecs, 3), "");

    // An edit that moves nothing on the edited row can move an element it
    // is copied into: the preview follows.
    world(0).elementAt(3)->objectType = WorldObjectWorldElements;
    elements().refreshNow();
    EXPECT_EQ(elements().editCellText(V::ColOffsetY, 1, "4"), 3);
    EXPECT_TRUE(elements().refreshPending());
}

TEST_F(WorldsFixture, CopiedWorldReferencesGoThroughTheLoopGuardRowByRow)
{
    // World 1 includes world 0, so no element of world 0 may name world 1.
    world(1).elementAt(world(1).addElement("back"))->objectType = WorldObjectWorldReference;
    world(1).elementAt(0)->objectIndex = 0;
    const std::int32_t types[] = {WorldObjectWorldReference, WorldObjectBitmap, WorldObjectWorldElements,
                                  WorldObjectBitmap};
    for (int i = 0; i < 4; ++i) {
        elements().insertElement();
        world(0).elementAt(i)->objectType = types[i];
        world(0).elementAt(i)->objectIndex = 2;
    }
    selectElements({0, 1, 2, 3});

    // Refused by both world rows, each keeping its index; the bitmap rows,
    // one of them after a refusal, take it; the message comes once.
    EXPECT_EQ(elements().editCellText(V::ColObjectIndex, 1, "1"), 2);
    std::vector<int> indexes;
    for (int i = 0; i < 4; ++i)
        indexes.push_back(world(0).elementAt(i)->objectIndex);
    EXPECT_EQ(indexes, (std::vector<int>{2, 1, 2, 1}));
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{CWorldLoopGuard::kIndexRefused});

    // Refused on the edited row: copied nowhere.
    ui.prompter.messages.clear();
    EXPECT_EQ(elements().editCellText(V::ColObjectIndex, 0, "0"), 0);
    EXPECT_EQ(world(0).elementAt(0)->objectIndex, 2);
    EXPECT_EQ(world(0).elementAt(1)->objectIndex, 1);
    EXPECT_EQ(world(0).elementAt(3)->objectIndex, 1);
    EXPECT_EQ(ui.prompter.messages.size(), 1u);

    // The type "World Elements" goes into every row; those now naming
    // world 1 lose their index, with one message for both.
    ui.prompter.messages.clear();
    EXPECT_EQ(elements().editCellText(V::ColObjectType, 0, "World Elements"), 4);
    indexes.clear();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(world(0).elementAt(i)->objectType, WorldObjectWorldElements) << i;
        indexes.push_back(world(0).elementAt(i)->objectIndex);
    }
    EXPECT_EQ(indexes, (std::vector<int>{2, -1, 2, -1}));
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{CWorldLoopGuard::kIndexSetToNone});
    EXPECT_TRUE(CWorldLoopGuard::acceptable(holder));
}

TEST_F(WorldsFixture, TimingCopiesSkipElementsThatTakeInAWorld)
{
    for (int i = 0; i < 3; ++i)
        elements().insertElement();
    world(0).elementAt(1)->objectType = WorldObjectWorldElements;
    selectElements({0, 1, 2});
    EXPECT_EQ(elements().editCellText(V::ColTrajectoryIndex, 0, "5"), 2);
    EXPECT_EQ(world(0).elementAt(0)->trajectoryIndex, 5);
    EXPECT_EQ(world(0).elementAt(1)->trajectoryIndex, -1);
    EXPECT_EQ(world(0).elementAt(2)->trajectoryIndex, 5);
    // Started on such an element, the edit is refused and copied nowhere.
    EXPECT_EQ(elements().editCellText(V::ColTrajectoryIndex, 1, "3"), 0);
    EXPECT_EQ(world(0).elementAt(0)->trajectoryIndex, 5);
}

TEST_F(WorldsFixture, CheckReportsClashesLoopsAndObjectsThatDoNotExist)
{
    holder.newItem(GroupBitmaps, "tree");
    holder.newItem(GroupTrajectories, "path");
    // Every kind of object, each existing or none; a type outside the
    // table names nothing.
    const std::pair<std::int32_t, std::int32_t> objects[] = {
        {WorldObjectBitmap, 0}, {WorldObjectAnimation, -1}, {WorldObjectMap, -1},
        {WorldObjectWorldElements, 1}, {WorldObjectWorldReference, 2}, {9, 40}};
    for (const auto& [type, index] : objects) {
        WorldElement& e = *world(0).elementAt(world(0).addElement("e" + std::to_string(type)));
        e.objectType = type;
        e.objectIndex = index;
        e.trajectoryIndex = 0;
    }
    world(1).addElement("plain");
    EXPECT_TRUE(panel.check());
    EXPECT_TRUE(ui.prompter.messages.empty());

    WorldElement& bitmap = *world(0).elementAt(0);
    WorldElement& plain = *world(1).elementAt(0);
    struct Case {
        const char* what;
        std::function<void()> breakIt;
        std::function<void()> mendIt;
        int world;
        int element;
        QString expected;
    };
    const std::vector<Case> cases{
        {"clashing IDs", [&] { world(2).setId("w0"); }, [&] { world(2).setId("w2"); }, 2, -1,
         "The ID \"w0\" of item 2 is already the ID of item 0."},
        {"loop", [&] { plain.objectType = WorldObjectWorldReference; plain.objectIndex = 0; },
         [&] { plain.objectType = WorldObjectBitmap; plain.objectIndex = -1; }, 0, -1,
         "The world \"w0\" (item 0) includes itself through the worlds its elements name, an endless loop."},
        {"bitmap", [&] { bitmap.objectIndex = 1; }, [&] { bitmap.objectIndex = 0; }, 0, 0,
         "Element 0 (\"e0\") of the world \"w0\" (item 0) shows the bitmap 1, which does not exist."},
        {"map", [&] { plain.objectType = WorldObjectMap; plain.objectIndex = -2; },
         [&] { plain.objectType = WorldObjectBitmap; plain.objectIndex = -1; }, 1, 0,
         "Element 0 (\"plain\") of the world \"w1\" (item 1) shows the map -2, which does not exist."},
        {"world", [&] { world(0).elementAt(4)->objectIndex = 3; }, [&] { world(0).elementAt(4)->objectIndex = 2; },
         0, 4, "Element 4 (\"e4\") of the world \"w0\" (item 0) shows the world 3, which does not exist."},
        {"trajectory", [&] { plain.trajectoryIndex = 1; }, [&] { plain.trajectoryIndex = -1; }, 1, 0,
         "Element 0 (\"plain\") of the world \"w1\" (item 1) follows the trajectory 1, which does not exist."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.prompter.messages.clear();
        c.breakIt();
        EXPECT_FALSE(panel.check());
        ASSERT_EQ(ui.prompter.messages.size(), 1u);
        EXPECT_EQ(QString::fromStdString(ui.prompter.messages[0]), c.expected);
        EXPECT_EQ(panel.currentItem(), c.world);
        if (c.element >= 0) {
            EXPECT_EQ(elements().worldIndex(), c.world);
            EXPECT_EQ(elements().selectedRows(), std::vector<int>{c.element});
        }
        c.mendIt();
        EXPECT_TRUE(panel.check());
    }
}

// Pictures of the user interfaces and worlds panels on the demo document,
// for looking at by eye: written only when QUILLOP_SCREENSHOTS names a
// folder.
TEST(WorldsPanelPictures, DemoDocumentPanels)
{
    if (DemoPictures::folder().isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS not set";
    DemoPictures pictures;
    ASSERT_TRUE(pictures.loaded());
    RecordingPanelHost host;
    CUserInterfacesPanel interfaces;
    CWorldsPanel worlds;
    pictures.grid(interfaces, host, QStringLiteral("grid_userinterfaces"));
    pictures.grid(worlds, host, QStringLiteral("grid_worlds"));
    // The side grids with a few rows selected, and their context menus.
    const std::vector<std::tuple<CSideGrid*, std::vector<int>, const char*>> sides{
        {interfaces.itemsView(), {1, 2, 4}, "side_userinterfaces"}, {worlds.elementsView(), {0, 1}, "side_worlds"}};
    for (const auto& [side, rows, name] : sides) {
        QTableView& table = *side->table();
        for (int r : rows)
            table.selectionModel()->select(table.model()->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCoreApplication::processEvents();
        pictures.save(*side, QString::fromLatin1(name));
        QMenu menu;
        side->fillContextMenu(menu);
        menu.popup(QPoint(0, 0));
        QCoreApplication::processEvents();
        pictures.save(menu, QString::fromLatin1(name) + QStringLiteral("_menu"));
        menu.hide();
    }
}
