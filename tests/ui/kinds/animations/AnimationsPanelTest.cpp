#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "support/TestSupport.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace {
CAnimationItem* animationAt(CResourceHolder& holder, int row)
{
    return dynamic_cast<CAnimationItem*>(holder.get(GroupAnimations, row));
}
} // namespace

TEST(AnimationsPanel, ColumnsPlayModeEditsAndEmptyMenu)
{
    ScriptedUi ui;
    auto holder = createDocumentHolder();
    holder->newItem(GroupAnimations, "walk");
    animationAt(*holder, 0)->addFrame(0);
    animationAt(*holder, 0)->addFrame(1);
    RecordingPanelHost host;
    CAnimationsPanel panel;
    panel.attach(holder.get(), &host);

    const QStringList titles{"ID", "Type", "Play Mode", "Specifications", "Comments"};
    ASSERT_EQ(panel.editorColumnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c)
        EXPECT_EQ(panel.editorHeader(c), titles[c]);
    for (int c = 0; c < panel.editorColumnCount(); ++c)
        EXPECT_EQ(panel.editorCellEditable(c), c != CAnimationsPanel::ColType && c != CAnimationsPanel::ColSpecs)
            << titles[c].toStdString();
    EXPECT_EQ(panel.editorCellText(CAnimationsPanel::ColType, 0), "Bitmaps");
    EXPECT_EQ(panel.editorCellText(CAnimationsPanel::ColPlayMode, 0), "Forward Loop");
    EXPECT_EQ(panel.editorCellText(CAnimationsPanel::ColSpecs, 0), "2 Frames");

    const int column = CItemsGrid::kLeadingColumns + CAnimationsPanel::ColPlayMode;
    panel.editCell(column, 0, "Backward and Forward Once");
    EXPECT_EQ(animationAt(*holder, 0)->playMode(), 6);
    panel.editCell(column, 0, "Sideways");
    EXPECT_EQ(animationAt(*holder, 0)->playMode(), 6) << "a name outside the list is refused";

    // Pasting the play mode from another row; a mode only a file can hold
    // is not pasted.
    holder->newItem(GroupAnimations, "jump");
    panel.reload();
    EXPECT_EQ(panel.copyEditorCell(CAnimationsPanel::ColPlayMode, 1, 0), 1);
    EXPECT_EQ(animationAt(*holder, 1)->playMode(), 6);
    animationAt(*holder, 0)->setPlayMode(12);
    EXPECT_EQ(panel.copyEditorCell(CAnimationsPanel::ColPlayMode, 1, 0), 0);
    EXPECT_EQ(animationAt(*holder, 1)->playMode(), 6);

    QMenu menu;
    panel.buildMenu(menu, CItemsGrid::kEditorBase);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), "Empty");
    EXPECT_EQ(menu.actions()[0]->statusTip(), "Empty menu");
    EXPECT_FALSE(menu.actions()[0]->isEnabled());

    const int animations = holder->count(GroupAnimations);
    panel.dropFiles({QStringLiteral("/somewhere/walk.png")});
    ASSERT_EQ(ui.prompter.messages.size(), 1u);
    EXPECT_EQ(ui.prompter.messages[0], "This group of resources does not accept files !");
    EXPECT_EQ(holder->count(GroupAnimations), animations);
}

// Edits made through the three grids survive a save and a reopen.
TEST(AnimationsPanel, GridEditsOfBitmapsAnimationsAndMapsSurviveSaveAndReopen)
{
    ScriptedUi ui;
    TempFolder folder;
    auto holder = createDocumentHolder();
    holder->newItem(GroupBitmaps, "b");
    holder->newItem(GroupAnimations, "a");
    holder->newItem(GroupMaps, "m");
    RecordingPanelHost host;
    CBitmapsPanel bitmaps;
    CAnimationsPanel animations;
    CMapsPanel maps;
    bitmaps.attach(holder.get(), &host);
    animations.attach(holder.get(), &host);
    maps.attach(holder.get(), &host);
    const int lead = CItemsGrid::kLeadingColumns;
    bitmaps.editCell(lead + CBitmapsPanel::ColId, 0, "hero");
    bitmaps.editCell(lead + CBitmapsPanel::ColOffsetX, 0, "12.5");
    bitmaps.editCell(lead + CBitmapsPanel::ColOffsetY, 0, "-3");
    bitmaps.editCell(lead + CBitmapsPanel::ColSourceFilename, 0, "hero.png");
    bitmaps.editCell(lead + CBitmapsPanel::ColComments, 0, "main character");
    animations.editCell(lead + CAnimationsPanel::ColId, 0, "run");
    animations.editCell(lead + CAnimationsPanel::ColPlayMode, 0, "Forward and Backward Loop");
    animations.editCell(lead + CAnimationsPanel::ColComments, 0, "fast");
    maps.editCell(lead + CMapsPanel::ColId, 0, "level");
    maps.editCell(lead + CMapsPanel::ColColumns, 0, "13");
    maps.editCell(lead + CMapsPanel::ColLines, 0, "11");
    maps.editCell(lead + CMapsPanel::ColSizeX, 0, "16");
    maps.editCell(lead + CMapsPanel::ColSizeY, 0, "8");
    maps.editCell(lead + CMapsPanel::ColComments, 0, "first level");

    const std::string path = folder.path("edited.mrc");
    ASSERT_EQ(holder->save(path), 1);
    auto reopened = createDocumentHolder();
    ASSERT_EQ(reopened->load(path), 1);
    CBitmapsPanel bitmaps2;
    CAnimationsPanel animations2;
    CMapsPanel maps2;
    bitmaps2.attach(reopened.get(), &host);
    animations2.attach(reopened.get(), &host);
    maps2.attach(reopened.get(), &host);
    for (CTypedItemsGrid* grid : std::initializer_list<CTypedItemsGrid*>{&bitmaps, &animations, &maps}) {
        CTypedItemsGrid* again = grid == &bitmaps      ? static_cast<CTypedItemsGrid*>(&bitmaps2)
                                 : grid == &animations ? static_cast<CTypedItemsGrid*>(&animations2)
                                                       : static_cast<CTypedItemsGrid*>(&maps2);
        for (int c = 0; c < grid->editorColumnCount(); ++c)
            EXPECT_EQ(again->editorCellText(c, 0), grid->editorCellText(c, 0))
                << grid->editorHeader(c).toStdString() << " of group " << grid->group();
    }
    EXPECT_EQ(maps2.editorCellText(CMapsPanel::ColColumns, 0), "+13");
    EXPECT_EQ(bitmaps2.editorCellText(CBitmapsPanel::ColOffsetX, 0), "+12.5");
}
