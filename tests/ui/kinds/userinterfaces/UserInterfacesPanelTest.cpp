#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CCellEditor.h"
#include "grid/ui/CItemsGrid.h"
#include "grid/ui/CTableSearch.h"
#include "kinds/CItemKinds.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CInterfaceDialog.h"
#include "kinds/userinterfaces/ui/CUserInterfaceItemsView.h"
#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"
#include "media/image/CDisplayBuffer.h"
#include "params/ui/CMVT_ParamBitmap.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamToolBar.h"
#include "params/ui/CMVT_Parameter.h"
#include "params/ui/CMVT_ParameterList.h"
#include "ui/PanelTesting.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <gtest/gtest.h>

#include <functional>

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
    EXPECT_EQ(gridHeaders(panel), QStringList({"Index", "Select", "ID", "Type", "Specifications", "Comments"}));
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

TEST_F(UserInterfacesFixture, TestMenuButtonsShowTheirPicturesAndTheChoiceIsReported)
{
    const int arrow = holder.newItem(GroupBitmaps, "arrow");
    ASSERT_EQ(dynamic_cast<CDisplayBuffer*>(holder.get(GroupBitmaps, arrow))->create(CDisplayBuffer::DibBitmap32, 4, 4),
              1);
    for (const char* image : {"arrow", "missing", ""}) {
        const int i = ui(0).appendItem(image);
        ui(0).item(i)->image = image;
        ui(0).item(i)->title = std::string("with ") + image;
    }
    panel.reloadEditorView();
    std::unique_ptr<QMenu> menu = items().buildTestMenu();
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_FALSE(menu->actions()[0]->icon().isNull());
    EXPECT_TRUE(menu->actions()[1]->icon().isNull());
    EXPECT_TRUE(menu->actions()[2]->icon().isNull());

    // Choosing an entry says which one on the window's status line.
    struct StatusCatcher : QObject {
        QStringList tips;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::StatusTip)
                tips << static_cast<QStatusTipEvent*>(event)->tip();
            return false;
        }
    } catcher;
    panel.installEventFilter(&catcher);
    emit items().itemChosen(1);
    ASSERT_EQ(catcher.tips.size(), 1);
    EXPECT_TRUE(catcher.tips[0].contains("\"missing\"")) << catcher.tips[0].toStdString();
    EXPECT_TRUE(catcher.tips[0].contains("with missing")) << catcher.tips[0].toStdString();
}

// The states text is option lines: the grid must let it be typed on
// several lines, and the lines must then read as options.
TEST_F(UserInterfacesFixture, LongTextColumnsEditOnSeveralLines)
{
    using V = CUserInterfaceItemsView;
    struct LinesEditor : CCellEditor {
        std::vector<bool> multiLine;
        bool editText(QWidget*, bool lines, const std::string&, const std::string&, std::string& result) override
        {
            multiLine.push_back(lines);
            result = "Border=Yes\nImage Right=arrow";
            return true;
        }
    };
    items().insertItem();
    items().insertItem();
    QTableView& table = *items().table();
    auto* delegate = dynamic_cast<CCellDelegate*>(table.itemDelegate());
    ASSERT_NE(delegate, nullptr);
    auto editor = std::make_unique<LinesEditor>();
    LinesEditor& lines = *editor;
    delegate->setEditor(std::move(editor));
    // A one-line text keeps the one-line editor.
    for (int column : {V::ColStates, V::ColHelp, V::ColComments, V::ColTitle}) {
        const QModelIndex index = table.model()->index(1, column);
        EXPECT_EQ(delegate->editCell(&table, table.visualRect(index), index, {}, true), 1) << column;
    }
    EXPECT_EQ(lines.multiLine, (std::vector<bool>{true, true, true, false}));
    const UserInterfaceItem& item = *ui(0).item(1);
    EXPECT_EQ(item.option("border"), "Yes");
    EXPECT_EQ(item.option("Image Right"), "arrow");
    EXPECT_EQ(item.helpText, "Border=Yes\nImage Right=arrow");
    EXPECT_EQ(item.comments, item.helpText);
    EXPECT_TRUE(ui(0).item(0)->states.empty());
}

// The table keeps drawing while a cell's editor is open: drawing other
// cells, of other kinds, must not change the value being edited.
TEST_F(UserInterfacesFixture, DrawingDuringAnEditLeavesTheEditedValueAlone)
{
    using V = CUserInterfaceItemsView;
    items().insertItem();
    items().insertItem();
    QTableView& table = *items().table();
    const QModelIndex title = table.model()->index(1, V::ColTitle);
    EXPECT_EQ(editWhileOtherCellsDraw(table, title, 0, V::ColType, "Apply"), 1);
    EXPECT_EQ(ui(0).item(1)->title, "Apply");
    EXPECT_EQ(ui(0).item(0)->title, "No Name");
    EXPECT_EQ(ui(0).item(0)->type, UserInterfaceItem::TypeButton);
}

// A document's user interface is only tried out: its buttons open nothing,
// whatever their ID and default value say.
TEST_F(UserInterfacesFixture, TestDialogButtonsOpenNoAddress)
{
    const int i = ui(0).appendItem("explore");
    ui(0).item(i)->defaultValue = "quillop-test:nothing";
    panel.reloadEditorView();
    for (CInterfaceDialog* dialog : {items().buildTestDialog(nullptr).release(), items().sideDialog()}) {
        ASSERT_TRUE(dialog);
        QSignalSpy opened(dialog, &CInterfaceDialog::exploreRequested);
        CMVT_Parameter* button = dialog->sheet()->find("explore");
        ASSERT_TRUE(button);
        emit dialog->sheet()->itemChanged(button);
        EXPECT_EQ(opened.count(), 0);
        if (dialog != items().sideDialog())
            delete dialog;
    }
}

namespace {
void addBitmap(CResourceHolder& holder, const char* id, QColor colour)
{
    QImage image(6, 6, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    const int row = holder.newItem(GroupBitmaps, id);
    ASSERT_TRUE(dynamic_cast<CDisplayBuffer*>(holder.get(GroupBitmaps, row))->attachImage(image));
}
} // namespace

// Button items and rows of buttons carry their pictures, border and gaps
// into the test dialog; a picture ID that names no bitmap just draws nothing.
TEST_F(UserInterfacesFixture, TestDialogButtonsShowTheirPicturesBorderAndGaps)
{
    addBitmap(holder, "red", Qt::red);
    addBitmap(holder, "blue", Qt::blue);
    addBitmap(holder, "green", Qt::green);
    addBitmap(holder, "yellow", Qt::yellow);
    using Item = UserInterfaceItem;
    auto add = [&](int uiIndex, Item::Type type, const std::string& id) -> Item& {
        Item& item = *ui(uiIndex).item(ui(uiIndex).appendItem(id));
        item.type = type;
        item.title = id;
        return item;
    };
    Item& apply = add(0, Item::TypeButton, "apply");
    apply.image = "red";
    apply.helpText = "Applies the settings";
    apply.states = "Image Right=blue\r\nBorder=Yes\r\nBkgnd Up=green\r\nBkgnd Down=yellow";
    Item& lost = add(0, Item::TypeButton, "lost");
    lost.image = "missing";
    lost.states = "Image Right=gone\r\nBkgnd Up=nowhere";
    add(0, Item::TypeButtons, "row").defaultValue = "tools";
    add(1, Item::TypeButton, "first").image = "blue";
    add(1, Item::TypeSeparator, "gap");
    add(1, Item::TypeButton, "second");
    add(1, Item::TypeButton, "third");
    add(0, Item::TypeImage, "logo").image = "green";
    panel.reloadEditorView();

    std::unique_ptr<CInterfaceDialog> dialog = items().buildTestDialog(nullptr);
    ASSERT_TRUE(dialog);
    dialog->show();
    QCoreApplication::processEvents();

    auto* applyItem = dynamic_cast<CMVT_ParamButton*>(dialog->sheet()->find("apply"));
    ASSERT_TRUE(applyItem);
    CPictureButton& button = *applyItem->button();
    EXPECT_EQ(button.text(), "apply");
    EXPECT_TRUE(button.hasBorder());
    EXPECT_EQ(button.toolTip(), "Applies the settings");
    const CPictureButton::Placement p = button.placement();
    QImage shot = button.grab().toImage();
    EXPECT_EQ(shot.pixelColor(p.image.center()), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(p.imageRight.center()), QColor(Qt::blue));
    EXPECT_LT(p.image.right(), p.title.left());
    EXPECT_LT(p.title.right(), p.imageRight.left());
    EXPECT_EQ(shot.pixelColor(3, 3), QColor(Qt::green));
    EXPECT_NE(shot.pixelColor(0, button.height() / 2), QColor(Qt::green));
    button.setDown(true);
    EXPECT_EQ(button.grab().toImage().pixelColor(3, 3), QColor(Qt::yellow));
    button.setDown(false);

    auto* lostItem = dynamic_cast<CMVT_ParamButton*>(dialog->sheet()->find("lost"));
    ASSERT_TRUE(lostItem);
    EXPECT_FALSE(lostItem->button()->pictures().any());
    EXPECT_FALSE(lostItem->button()->hasBorder());
    EXPECT_FALSE(lostItem->button()->grab().isNull());

    auto* row = dynamic_cast<CMVT_ParamToolBar*>(dialog->sheet()->find("row"));
    ASSERT_TRUE(row);
    CPictureButton* first = row->buttonFor("first");
    CPictureButton* second = row->buttonFor("second");
    CPictureButton* third = row->buttonFor("third");
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(row->controls().size(), 4u);
    EXPECT_EQ(first->grab().toImage().pixelColor(first->placement().image.center()), QColor(Qt::blue));
    EXPECT_FALSE(second->pictures().any());
    const int plainSpace = third->x() - (second->x() + second->width());
    const int gapSpace = second->x() - (first->x() + first->width());
    EXPECT_GE(gapSpace, plainSpace + CMVT_ParamToolBar::kGapWidth);

    // An Image item shows its picture for itself, without the bitmap's ID.
    auto* logo = dynamic_cast<CMVT_ParamBitmap*>(dialog->sheet()->find("logo"));
    ASSERT_TRUE(logo);
    EXPECT_TRUE(logo->hasPicture());
    for (const QLabel* label : logo->findChildren<QLabel*>())
        EXPECT_FALSE(label->isVisible() && label->text() == "green");
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

namespace {
void selectItemRows(CUserInterfaceItemsView& view, std::initializer_list<int> rows)
{
    QItemSelectionModel* selection = view.table()->selectionModel();
    selection->clearSelection();
    for (int r : rows)
        selection->select(view.table()->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}
} // namespace

TEST_F(UserInterfacesFixture, ItemEditGoesIntoEverySelectedItemAndNowhereElse)
{
    using V = CUserInterfaceItemsView;
    for (int i = 0; i < 4; ++i)
        items().insertItem();
    selectItemRows(items(), {0, 2, 3});
    const int before = host.modified;

    // Through the table, as a typed edit arrives.
    QAbstractItemModel* model = items().table()->model();
    ASSERT_TRUE(model->setData(model->index(2, V::ColTitle), "Apply"));
    for (int i : {0, 2, 3})
        EXPECT_EQ(ui(0).item(i)->title, "Apply") << i;
    EXPECT_EQ(ui(0).item(1)->title, "No Name");
    EXPECT_GT(host.modified, before);

    EXPECT_EQ(items().editCell(V::ColType, 3, "Boolean"), 3);
    EXPECT_EQ(items().editCell(V::ColLevel, 0, "2"), 3);
    for (int i : {0, 2, 3}) {
        EXPECT_EQ(ui(0).item(i)->type, UserInterfaceItem::TypeBoolean) << i;
        EXPECT_EQ(ui(0).item(i)->level, 2) << i;
    }
    EXPECT_EQ(ui(0).item(1)->type, UserInterfaceItem::TypeButton);

    // A type the edited row refuses goes nowhere.
    EXPECT_EQ(items().editCell(V::ColType, 0, "Slider"), 0);
    for (int i : {0, 2, 3})
        EXPECT_EQ(ui(0).item(i)->type, UserInterfaceItem::TypeBoolean) << i;

    // Columns that show what the item is are never written.
    for (int column : {V::ColIndex, V::ColAdvanced, V::ColSpecs})
        EXPECT_EQ(items().editCell(column, 0, "7"), 0) << column;
    EXPECT_EQ(items().cellText(V::ColIndex, 3), "3");
    EXPECT_EQ(items().cellText(V::ColAdvanced, 3), "advanced=0");
    EXPECT_EQ(items().cellText(V::ColSpecs, 3), "");

    // The edited row need not be selected itself; only the selected rows
    // take the copy.
    selectItemRows(items(), {3});
    EXPECT_EQ(items().editCell(V::ColId, 1, "same"), 2);
    EXPECT_EQ(ui(0).item(1)->id, "same");
    EXPECT_EQ(ui(0).item(3)->id, "same");
    EXPECT_EQ(ui(0).item(0)->id, "New ID");
}

TEST_F(UserInterfacesFixture, CheckReportsClashingIdsAndNamesThatFindNothing)
{
    ScriptedUi scripted;
    holder.newItem(GroupBitmaps, "arrow");
    holder.newItem(GroupBitmaps, "plate");
    using Item = UserInterfaceItem;
    auto add = [&](int uiIndex, Item::Type type, const std::string& id) -> Item& {
        Item& item = *ui(uiIndex).item(ui(uiIndex).appendItem(id));
        item.type = type;
        return item;
    };
    // Every kind of reference, each naming something that exists.
    Item& button = add(0, Item::TypeButton, "open");
    button.image = "arrow";
    button.states = "Border=Yes\r\nImage Right=arrow\r\nBkgnd Up=plate\r\nBkgnd Down=plate";
    Item& row = add(0, Item::TypeButtons, "row");
    row.defaultValue = "tools";
    add(1, Item::TypeImage, "logo").image = "plate";
    // Names on items that do not use them are not references.
    add(1, Item::TypeBoolean, "flag").image = "nowhere";
    add(1, Item::TypeInformation, "note").defaultValue = "nowhere";
    EXPECT_TRUE(panel.check());
    EXPECT_TRUE(scripted.prompter.messages.empty());

    struct Case {
        const char* what;
        std::function<void()> breakIt;
        std::function<void()> mendIt;
        int ui;
        int item;
        QString expected;
    };
    Item& logo = *ui(1).item(0);
    const std::vector<Case> cases{
        {"button image", [&] { button.image = "gone"; }, [&] { button.image = "arrow"; }, 0, 0,
         "The item \"open\" (item 0) of the user interface \"main\" (item 0) names the picture \"gone\" in its Image "
         "field, which does not exist."},
        {"button states picture", [&] { button.states = "Bkgnd Down=gone"; }, [&] { button.states.clear(); }, 0, 0,
         "The item \"open\" (item 0) of the user interface \"main\" (item 0) names the picture \"gone\" in its States "
         "option \"Bkgnd Down\", which does not exist."},
        {"image item", [&] { logo.image = "gone"; }, [&] { logo.image = "plate"; }, 1, 0,
         "The item \"logo\" (item 0) of the user interface \"tools\" (item 1) names the picture \"gone\" in its Image "
         "field, which does not exist."},
        {"row of buttons", [&] { row.defaultValue = "gone"; }, [&] { row.defaultValue = "tools"; }, 0, 1,
         "The item \"row\" (item 1) of the user interface \"main\" (item 0) names the user interface \"gone\" in its "
         "Default Value, which does not exist."},
        {"clashing IDs", [&] { ui(1).setId("main"); }, [&] { ui(1).setId("tools"); }, 1, -1,
         "The ID \"main\" of item 1 is already the ID of item 0."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scripted.prompter.messages.clear();
        c.breakIt();
        EXPECT_FALSE(panel.check());
        ASSERT_EQ(scripted.prompter.messages.size(), 1u);
        EXPECT_EQ(QString::fromStdString(scripted.prompter.messages[0]), c.expected);
        // The finding is shown: its user interface current, its item selected.
        EXPECT_EQ(panel.currentItem(), c.ui);
        if (c.item >= 0) {
            EXPECT_EQ(items().shownInterface(), &ui(c.ui));
            EXPECT_EQ(items().selectedRows(), std::vector<int>{c.item});
        }
        c.mendIt();
        EXPECT_TRUE(panel.check());
    }
}

TEST_F(UserInterfacesFixture, FindWalksTheItemsGridFromTheCurrentCell)
{
    using V = CUserInterfaceItemsView;
    for (const char* id : {"open", "save", "reopen"})
        items().setCell(V::ColId, items().insertItem(), id);
    QTableView& table = *items().table();
    table.setCurrentIndex(table.model()->index(0, V::ColId));

    CFindOptions options;
    options.text = "OPEN";
    ASSERT_TRUE(CTableSearch::find(table, options));
    EXPECT_EQ(table.currentIndex().row(), 2);
    EXPECT_EQ(table.currentIndex().column(), V::ColId);
    // Whole word passes over "reopen" and comes round to the top.
    options.wholeWord = true;
    ASSERT_TRUE(CTableSearch::find(table, options));
    EXPECT_EQ(table.currentIndex().row(), 0);

    options.wholeWord = false;
    options.selectItems = true;
    selectItemRows(items(), {1});
    ASSERT_TRUE(CTableSearch::find(table, options));
    EXPECT_EQ(items().selectedRows(), (std::vector<int>{0, 2}));
    options.text = "nowhere";
    EXPECT_FALSE(CTableSearch::find(table, options));
    EXPECT_EQ(items().selectedRows(), (std::vector<int>{0, 2}));

    // Find Next from the menu repeats the remembered search.
    const CFindOptions remembered = CItemsGrid::findOptions();
    CItemsGrid::findOptions() = CFindOptions();
    CItemsGrid::findOptions().text = "save";
    QMenu menu;
    items().fillContextMenu(menu);
    QAction* next = nullptr;
    for (QAction* action : menu.actions())
        if (action->text().startsWith("Find Ne&xt"))
            next = action;
    ASSERT_TRUE(next);
    items().runCommand(next->data().toInt());
    EXPECT_EQ(table.currentIndex().row(), 1);
    CItemsGrid::findOptions() = remembered;
}

// The Image cell names a bitmap by its ID: double-click or F4 picks it by
// name and picture (here the picker's answer is scripted), and "none"
// empties it.
TEST_F(UserInterfacesFixture, ImageCellsArePickedByName)
{
    for (const char* id : {"grass", "hero"})
        holder.newItem(GroupBitmaps, id);
    panel.selectRow(0);
    ASSERT_GE(items().insertItem(), 0);
    struct ScriptedPick : CCellEditor {
        int answer = -1;
        int offered = -5;
        bool pickItem(QWidget*, const CResourceHolder*, int group, int& index) override
        {
            EXPECT_EQ(group, GroupBitmaps);
            offered = index;
            index = answer;
            return true;
        }
    };
    auto owned = std::make_unique<ScriptedPick>();
    ScriptedPick& pick = *owned;
    auto& delegate = dynamic_cast<CCellDelegate&>(*items().table()->itemDelegate());
    delegate.setEditor(std::move(owned));
    const QModelIndex cell = items().table()->model()->index(0, CUserInterfaceItemsView::ColImage);
    const struct {
        int answer;
        int offered;  // the index the picker opens on
        const char* image;
    } cases[] = {{1, -1, "hero"}, {0, 1, "grass"}, {-1, 0, ""}};
    for (const auto& c : cases) {
        pick.answer = c.answer;
        delegate.pickCell(items().table(), cell);
        EXPECT_EQ(pick.offered, c.offered);
        EXPECT_EQ(ui(0).item(0)->image, c.image);
    }
}
