#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace {
struct MapsPanelFixture : ::testing::Test {
    MapsPanelFixture() : holder(createDocumentHolder())
    {
        holder->newItem(GroupMaps, "first");
        holder->newItem(GroupMaps, "second");
        map(0)->setCell(9, 9, 5);
        panel.attach(holder.get(), &host);
        panel.setCurrentCell(CItemsGrid::kLeadingColumns, 0);
    }
    CMapItem* map(int row) { return dynamic_cast<CMapItem*>(holder->get(GroupMaps, row)); }
    void edit(int column, int row, const char* text) { panel.editCell(CItemsGrid::kLeadingColumns + column, row, text); }

    ScriptedUi ui;
    std::unique_ptr<CResourceHolder> holder;
    RecordingPanelHost host;
    CMapsPanel panel;
};
} // namespace

TEST_F(MapsPanelFixture, ColumnsAndTheirEditableFlags)
{
    const QStringList titles{"ID", "Type", "Nb Columns", "Nb Lines", "Size X", "Size Y", "Specifications", "Comments"};
    ASSERT_EQ(panel.editorColumnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c)
        EXPECT_EQ(panel.editorHeader(c), titles[c]);
    for (int c = 0; c < panel.editorColumnCount(); ++c)
        EXPECT_EQ(panel.editorCellEditable(c), c != CMapsPanel::ColSpecs) << titles[c].toStdString();
    EXPECT_EQ(panel.editorCellText(CMapsPanel::ColType, 0), "Grid of Bitmaps");
    EXPECT_EQ(panel.editorCellText(CMapsPanel::ColColumns, 0), "+10");
    EXPECT_EQ(panel.editorCellText(CMapsPanel::ColSpecs, 0), "");

    QMenu menu;
    panel.buildMenu(menu, CItemsGrid::kEditorBase);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), "Empty");
    EXPECT_EQ(menu.actions()[0]->statusTip(), "Empty menu");
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
}

TEST_F(MapsPanelFixture, ShrinkingAsksAndANoKeepsMapAndCell)
{
    ui.prompter.answers = {IPrompter::Answer::No};
    edit(CMapsPanel::ColColumns, 0, "8");
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.icons[0], IPrompter::Icon::Question);
    EXPECT_EQ(ui.prompter.messages[0], "Reducing the map size will result as a loss of a part of the map data, do you "
                                       "really want to change the map size ?");
    EXPECT_EQ(map(0)->columnCount(), 10);
    EXPECT_EQ(map(0)->cell(9, 9), 5);
    EXPECT_EQ(panel.editorCellText(CMapsPanel::ColColumns, 0), "+10");
    EXPECT_EQ(host.modified, 0) << "a declined resize changes nothing";

    edit(CMapsPanel::ColLines, 0, "12");
    EXPECT_EQ(ui.prompter.messages.size(), 1u) << "growing does not ask";
    EXPECT_EQ(map(0)->lineCount(), 12);
    EXPECT_EQ(map(0)->cell(9, 11), -1);
    EXPECT_EQ(map(0)->cell(9, 9), 5);

    ui.prompter.answers = {IPrompter::Answer::Yes};
    edit(CMapsPanel::ColColumns, 0, "8");
    EXPECT_EQ(map(0)->columnCount(), 8);
}

TEST_F(MapsPanelFixture, CellSizesAndPasteGoThroughTheSameRules)
{
    edit(CMapsPanel::ColSizeX, 0, "16");
    EXPECT_EQ(map(0)->sizeX(), 16);
    EXPECT_EQ(map(0)->cellWidth(), 16);
    edit(CMapsPanel::ColSizeY, 0, "24");
    EXPECT_EQ(map(0)->cellHeight(), 24);

    edit(CMapsPanel::ColType, 0, "Not a type");
    EXPECT_EQ(map(0)->mapType(), 0) << "a name outside the list is refused";
    map(1)->setMapType(3);
    EXPECT_EQ(panel.editorCellText(CMapsPanel::ColType, 1), "Not Valid");
    EXPECT_EQ(panel.copyEditorCell(CMapsPanel::ColType, 0, 1), 0) << "an unknown type is not pasted";
    EXPECT_EQ(map(0)->mapType(), 0);
    edit(CMapsPanel::ColType, 0, "Not Valid");
    EXPECT_EQ(map(0)->mapType(), 0) << "the entry unknown types show is not a type to choose";
    edit(CMapsPanel::ColType, 1, "Grid of Bitmaps");
    EXPECT_EQ(map(1)->mapType(), 0) << "a map of an unknown type is put right from the list";
    EXPECT_EQ(panel.editorCellText(CMapsPanel::ColType, 1), "Grid of Bitmaps");

    // The second row is marked and takes the first row's smaller width:
    // the reduction question is asked for it too.
    ui.prompter.answers = {IPrompter::Answer::Yes, IPrompter::Answer::No};
    panel.setMarked(1, true);
    edit(CMapsPanel::ColColumns, 0, "4");
    EXPECT_EQ(map(0)->columnCount(), 4);
    EXPECT_EQ(map(1)->columnCount(), 10) << "its own question was answered No";
    EXPECT_EQ(panel.copyEditorCell(CMapsPanel::ColSizeX, 1, 0), 1);
    EXPECT_EQ(map(1)->cellWidth(), 16);

    // A paste of the line count resizes too, keeping the column count and
    // the cells already there.
    map(1)->setCell(9, 9, 7);
    ASSERT_TRUE(map(0)->resize(4, 13, ui.prompter));
    EXPECT_EQ(panel.copyEditorCell(CMapsPanel::ColLines, 1, 0), 1);
    EXPECT_EQ(map(1)->lineCount(), 13);
    EXPECT_EQ(map(1)->columnCount(), 10);
    EXPECT_EQ(map(1)->cell(9, 9), 7);
    EXPECT_EQ(map(1)->cell(9, 12), -1);
}

TEST_F(MapsPanelFixture, IntegrityCheckReportsDuplicateIdsAndMissingBitmaps)
{
    EXPECT_FALSE(panel.check()) << "cell (9, 9) names bitmap 5 in a document without bitmaps";
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_NE(ui.prompter.messages[0].find("bitmap 5"), std::string::npos) << ui.prompter.messages[0];
    EXPECT_EQ(panel.currentItem(), 0);

    map(0)->setCell(9, 9, -1);
    EXPECT_TRUE(panel.check());
    holder->get(GroupMaps, 1)->setId("first");
    EXPECT_FALSE(panel.check());
    EXPECT_EQ(panel.currentItem(), 1) << "the second item with the ID is shown";
}

TEST_F(MapsPanelFixture, DroppedFilesAreRefused)
{
    panel.dropFiles({QStringLiteral("/somewhere/tiles.png")});
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], "This group of resources does not accept files !");
    EXPECT_EQ(holder->count(GroupMaps), 2);
    EXPECT_EQ(host.modified, 0);
}
