#include "core/CArchiveException.h"
#include "core/CResourceHolder.h"
#include "core/CSectionCoder.h"
#include "kinds/CItemKinds.h"
#include "kinds/userinterfaces/CColorText.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "support/TestSupport.h"

#include "support/ItemBytes.h"

#include <gtest/gtest.h>

namespace {


} // namespace

TEST(UserInterfaceItem, NewItemAndTypeTexts)
{
    UserInterface ui;
    ASSERT_EQ(ui.appendItem("New ID"), 0);
    const UserInterfaceItem& item = *ui.item(0);
    EXPECT_EQ(UserInterfaceItem::typeText(item.type), "Button");
    EXPECT_EQ(item.title, "No Name");
    EXPECT_EQ(item.advancedText(), "advanced=0");
    EXPECT_EQ(UserInterfaceItem::typeText(2), "--- Separator");
    EXPECT_EQ(UserInterfaceItem::typeText(19), "Text Multiple Lines");
    EXPECT_EQ(UserInterfaceItem::typeText(20), "Unkown");
    EXPECT_EQ(UserInterfaceItem::typeText(-1), "Unkown");
    EXPECT_EQ(UserInterfaceItem::typeTexts().size(), 20u);
    EXPECT_EQ(UserInterface::typeText(3), "Tool Bar");
    EXPECT_EQ(UserInterface::typeText(4), "Unkown");
    EXPECT_EQ(UserInterface::typeTexts(), (std::vector<std::string>{"None", "Menu", "Parameters", "Tool Bar"}));
}

TEST(UserInterfaceItem, StateOptions)
{
    const std::string states = "Border=Yes\r\nImage Right=arrow";
    EXPECT_EQ(UserInterfaceItem::stateOption(states, "Border"), "Yes");
    EXPECT_EQ(UserInterfaceItem::stateOption(states, "border"), "Yes");
    EXPECT_EQ(UserInterfaceItem::stateOption(states, "IMAGE RIGHT"), "arrow");
    EXPECT_EQ(UserInterfaceItem::stateOption(states, "Bkgnd Up"), "");
    EXPECT_EQ(UserInterfaceItem::stateOption("a=b=c\rnoequals\r\rBkgnd Up=up", "a"), "b=c");
    EXPECT_EQ(UserInterfaceItem::stateOption("a=b=c\rnoequals\r\rBkgnd Up=up", "Bkgnd Up"), "up");
    EXPECT_EQ(UserInterfaceItem::stateOption("x=1\ny=2", "y"), "2");
    EXPECT_EQ(UserInterfaceItem::stateOption("", "x"), "");
}

TEST(UserInterfaceItem, ColorText)
{
    EXPECT_EQ(CColorText::parse("FF8000"), QColor(255, 128, 0, 255));
    EXPECT_EQ(CColorText::parse(" # ff 80 00"), QColor(255, 128, 0, 255));
    EXPECT_EQ(CColorText::parse("(40)0000ff"), QColor(0, 0, 255, 0x40));
    EXPECT_EQ(CColorText::parse("FF"), QColor(255, 0, 0, 255));
    EXPECT_EQ(CColorText::parse(""), QColor(0, 0, 0, 255));
    EXPECT_EQ(CColorText::parse("(1FF)zz1234"), QColor(0, 0x12, 0x34, 255));
}

TEST(UserInterface, ItemOperationsOutOfRangeChangeNothing)
{
    UserInterface ui;
    ui.appendItem("a");
    ui.appendItem("b");
    EXPECT_EQ(ui.insertItem(0, "c"), 0);
    EXPECT_EQ(ui.insertItem(5, "x"), -1);
    EXPECT_EQ(ui.moveItem(0, 2), 1);  // c a b -> a b c
    EXPECT_EQ(ui.swapItems(0, 1), 1); // b a c
    EXPECT_EQ(ui.removeItem(3), 0);
    EXPECT_EQ(ui.moveItem(-1, 0), 0);
    EXPECT_EQ(ui.swapItems(0, 3), 0);
    EXPECT_EQ(ui.item(3), nullptr);
    ASSERT_EQ(ui.itemCount(), 3);
    EXPECT_EQ(ui.item(0)->id, "b");
    EXPECT_EQ(ui.item(1)->id, "a");
    EXPECT_EQ(ui.item(2)->id, "c");
    EXPECT_EQ(ui.removeItem(1), 1);
    EXPECT_EQ(ui.item(1)->id, "c");
}

TEST(UserInterface, SectionRecordBytes)
{
    UserInterface ui;
    ui.setId("bar");
    ui.setType(UserInterface::TypeToolBar);
    ui.appendItem("Open");
    UserInterfaceItem& item = *ui.item(0);
    item.comments = "c";
    item.helpText = "h";
    item.defaultValue = "d";
    item.minimumValue = "1";
    item.maximumValue = "9";
    item.level = 2;
    item.image = "img";
    item.states = "Border=Yes";
    item.spare = 7;
    CSectionCoder plain;
    const QByteArray expected = le32(0) + le32(1) + le32(0) + codedText("bar") + codedText("")   // common header
                                + le32(0) + le32(1) + le32(3) + le32(1)              // zero, version, type, count
                                + codedText("Open") + codedText("c") + le32(6) + codedText("No Name") + codedText("h") + codedText("d") + codedText("1") +
                                codedText("9") + le32(2) + codedText("img") + codedText("Border=Yes") + le32(7);
    EXPECT_EQ(storeItem(ui, plain), expected);

    UserInterface back;
    back.appendItem("stale");
    EXPECT_EQ(loadItem(back, expected, plain), 0);
    ASSERT_EQ(back.itemCount(), 1);
    EXPECT_EQ(back.type(), 3);
    EXPECT_EQ(back.item(0)->id, "Open");
    EXPECT_EQ(back.item(0)->states, "Border=Yes");
    EXPECT_EQ(back.item(0)->spare, 7);
    EXPECT_EQ(storeItem(back, plain), expected);
}

TEST(UserInterface, HugeItemCountIsRefusedBeforeAllocating)
{
    QByteArray bytes = le32(0) + le32(1) + le32(0) + codedText("x") + codedText("") + le32(0) + le32(1) + le32(2) + le32(0x7fffffff) +
                       QByteArray(100, '\0');
    UserInterface ui;
    EXPECT_THROW(loadItem(ui, bytes), CArchiveException);
}

TEST(UserInterface, RoundTripThroughASavedDocument)
{
    auto holder = createDocumentHolder();
    auto* ui = dynamic_cast<UserInterface*>(holder->get(GroupUserInterfaces, holder->newItem(GroupUserInterfaces, "Main Menu")));
    ASSERT_NE(ui, nullptr);
    ui->setType(UserInterface::TypeMenu);
    ui->setComments("menu");
    for (int t = 0; t < 20; ++t) {
        UserInterfaceItem& item = *ui->item(ui->appendItem("item" + std::to_string(t)));
        item.type = t;
        item.title = "T" + std::to_string(t);
        item.level = -t;
        item.states = "Border=Yes\r\nImage Right=r" + std::to_string(t);
    }
    holder->newItem(GroupUserInterfaces, "empty");
    FixedKeySource keys({0x0102, 0x7734, 0x5a5a, 0x0f00});
    holder->setKeySource(&keys);
    TempFolder folder;
    ASSERT_EQ(holder->save(folder.path("ui.mrc")), 1);
    auto loaded = createDocumentHolder();
    ASSERT_EQ(loaded->load(folder.path("ui.mrc")), 1);
    ASSERT_EQ(loaded->count(GroupUserInterfaces), 2);
    const UserInterface* back = UserInterface::find(*loaded, "Main Menu");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->type(), UserInterface::TypeMenu);
    EXPECT_EQ(back->comments(), "menu");
    ASSERT_EQ(back->itemCount(), 20);
    for (int t = 0; t < 20; ++t) {
        EXPECT_EQ(back->item(t)->id, ui->item(t)->id);
        EXPECT_EQ(back->item(t)->type, t);
        EXPECT_EQ(back->item(t)->title, ui->item(t)->title);
        EXPECT_EQ(back->item(t)->level, -t);
        EXPECT_EQ(back->item(t)->states, ui->item(t)->states);
    }
    EXPECT_EQ(UserInterface::find(*loaded, "empty")->itemCount(), 0);
}
