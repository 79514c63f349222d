#include "app/CInterfaceDialog.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CUserInterfaceItemsView.h"
#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"
#include "ui/ShellFakes.h"

#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
struct UserInterfacesFixture : ::testing::Test {
    UserInterfacesFixture() : holder(&createKindPrototype)
    {
        for (const char* id : {"main", "tools"})
            holder.newItem(GroupUserInterfaces, id);
        panel.attach(&holder, &host);
        panel.selectRow(0);
    }
    UserInterface& ui(int i) { return *dynamic_cast<UserInterface*>(holder.get(GroupUserInterfaces, i)); }
    CUserInterfaceItemsView& items() { return *panel.itemsView(); }

    CResourceHolder holder;
    RecordingPanelHost host;
    CUserInterfacesPanel panel;
};

QStringList actionTexts(const QMenu& menu)
{
    QStringList texts;
    for (QAction* a : menu.actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}
} // namespace

TEST_F(UserInterfacesFixture, ColumnsOfBothGrids)
{
    QStringList headers;
    for (int c = 0; c < panel.gridColumnCount(); ++c)
        headers << panel.table()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Index", "Select", "ID", "Type", "Specifications", "Comments"}));
    EXPECT_FALSE(panel.editorCellEditable(CUserInterfacesPanel::ColSpecs));

    QStringList itemHeaders;
    for (int c = 0; c < CUserInterfaceItemsView::ColumnCount; ++c)
        itemHeaders << CUserInterfaceItemsView::header(c);
    EXPECT_EQ(itemHeaders, QStringList({"Index", "ID", "Type", "Title", "Default Value", "Minimum Value",
                                        "Maximum Value", "Level", "Image", "States", "Advanced", "Help Text",
                                        "Specifications", "Comments"}));
}

TEST_F(UserInterfacesFixture, TypeEditsGoIntoEveryMarkedRowAndUnknownTypesShowAsSuch)
{
    const int typeColumn = CUserInterfacesPanel::ColType + CItemsGrid::kLeadingColumns;
    panel.setMarked(1, true);
    panel.editCell(typeColumn, 0, "Tool Bar");
    EXPECT_EQ(ui(0).type(), UserInterface::TypeToolBar);
    EXPECT_EQ(ui(1).type(), UserInterface::TypeToolBar);
    EXPECT_GT(host.modified, 0);
    // A text naming no type stores nothing.
    panel.editCell(typeColumn, 0, "Window");
    EXPECT_EQ(ui(0).type(), UserInterface::TypeToolBar);
    ui(1).setType(42);
    EXPECT_EQ(panel.gridCellText(typeColumn, 1), "Unkown");
}

TEST_F(UserInterfacesFixture, ItemsGridFollowsTheCurrentInterface)
{
    EXPECT_EQ(items().title(), "main");
    EXPECT_EQ(items().insertItem(), 0);
    EXPECT_EQ(ui(0).itemCount(), 1);
    EXPECT_EQ(items().cellText(CUserInterfaceItemsView::ColType, 0), "Button");
    EXPECT_EQ(items().cellText(CUserInterfaceItemsView::ColTitle, 0), "No Name");
    EXPECT_EQ(items().cellText(CUserInterfaceItemsView::ColId, 0), "New ID");
    EXPECT_EQ(items().cellText(CUserInterfaceItemsView::ColAdvanced, 0), "advanced=0");

    panel.selectRow(1);
    EXPECT_EQ(items().title(), "tools");
    EXPECT_EQ(items().table()->model()->rowCount(), 0);
    EXPECT_EQ(items().deleteItem(0), 0);
}

TEST_F(UserInterfacesFixture, ItemEditsMovesAndSwaps)
{
    for (int i = 0; i < 3; ++i)
        items().insertItem();
    const int before = host.modified;
    EXPECT_EQ(items().setCell(CUserInterfaceItemsView::ColId, 0, "a"), 1);
    items().setCell(CUserInterfaceItemsView::ColId, 1, "b");
    items().setCell(CUserInterfaceItemsView::ColId, 2, "c");
    EXPECT_EQ(items().setCell(CUserInterfaceItemsView::ColType, 0, "Integer Number"), 1);
    EXPECT_EQ(ui(0).item(0)->type, UserInterfaceItem::TypeIntegerNumber);
    EXPECT_EQ(items().setCell(CUserInterfaceItemsView::ColType, 0, "Nonsense"), 0);
    EXPECT_EQ(items().setCell(CUserInterfaceItemsView::ColLevel, 0, "2"), 1);
    EXPECT_EQ(ui(0).item(0)->level, 2);
    EXPECT_EQ(items().setCell(CUserInterfaceItemsView::ColAdvanced, 0, "advanced=5"), 0);
    EXPECT_GT(host.modified, before);

    EXPECT_EQ(items().moveItem(0, 2), 1);
    EXPECT_EQ(ui(0).item(2)->id, "a");
    EXPECT_EQ(items().swapItems(0, 1), 1);
    EXPECT_EQ(ui(0).item(0)->id, "c");
    EXPECT_EQ(ui(0).item(1)->id, "b");
    EXPECT_EQ(items().moveItem(0, 7), 0);
    EXPECT_EQ(items().deleteItem(1), 1);
    EXPECT_EQ(ui(0).itemCount(), 2);
    EXPECT_EQ(items().cellText(CUserInterfaceItemsView::ColId, 1), "a");
}

TEST_F(UserInterfacesFixture, TestMenuNestsGroupsAndIgnoresStrayEnds)
{
    auto add = [&](UserInterfaceItem::Type type, const char* title) {
        const int i = ui(0).appendItem(title);
        ui(0).item(i)->type = type;
        ui(0).item(i)->title = title;
    };
    add(UserInterfaceItem::TypeGroupEnd, "stray");
    add(UserInterfaceItem::TypeButton, "Open");
    add(UserInterfaceItem::TypeSeparator, "");
    add(UserInterfaceItem::TypeGroupBegin, "More");
    add(UserInterfaceItem::TypeButton, "Inner");
    add(UserInterfaceItem::TypeGroupEnd, "");
    add(UserInterfaceItem::TypeBoolean, "ignored");
    panel.reloadEditorView();

    std::unique_ptr<QMenu> menu = items().buildTestMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(actionTexts(*menu), QStringList({"Open", "-", "More"}));
    QMenu* sub = menu->actions()[2]->menu();
    ASSERT_TRUE(sub);
    EXPECT_EQ(actionTexts(*sub), QStringList({"Inner"}));
    EXPECT_EQ(sub->actions()[0]->data().toInt(), 4);

    QMenu context;
    items().fillContextMenu(context);
    EXPECT_TRUE(actionTexts(context).contains(CUserInterfaceItemsView::kTestMenuEntry));
    EXPECT_TRUE(actionTexts(context).contains(CUserInterfaceItemsView::kTestDialogEntry));
}

TEST_F(UserInterfacesFixture, TestDialogIsBuiltBesideTheItems)
{
    const int i = ui(0).appendItem("speed");
    ui(0).item(i)->type = UserInterfaceItem::TypeFloatingNumber;
    panel.reloadEditorView();
    std::unique_ptr<CInterfaceDialog> dialog = items().buildTestDialog(nullptr);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Test Dialog");
    ASSERT_TRUE(items().sideDialog());
}
