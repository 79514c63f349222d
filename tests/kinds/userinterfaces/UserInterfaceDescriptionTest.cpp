#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/userinterfaces/CUserInterfaceDialog.h"
#include "kinds/userinterfaces/CUserInterfaceMenu.h"
#include "kinds/userinterfaces/CUserInterfaceToolBar.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
using Item = UserInterfaceItem;

struct Descriptions : ::testing::Test {
    CResourceHolder pictures;  // the picture source: only bitmap IDs matter
    std::unique_ptr<CResourceHolder> document = createDocumentHolder();

    Descriptions()
    {
        pictures.newItem(GroupBitmaps, "open");
        pictures.newItem(GroupBitmaps, "arrow");
        pictures.newItem(GroupBitmaps, "up");
    }

    UserInterface& make(const std::string& id)
    {
        auto& ui = required(dynamic_cast<UserInterface*>(
                                document->get(GroupUserInterfaces, document->newItem(GroupUserInterfaces, id))),
                            "a new user interface");
        ui.setPictureSource(&pictures);
        return ui;
    }

    static Item& add(UserInterface& ui, std::int32_t type, const std::string& title, const std::string& id = "")
    {
        Item& item = *ui.item(ui.appendItem(id.empty() ? title : id));
        item.type = type;
        item.title = title;
        return item;
    }
};
} // namespace

TEST_F(Descriptions, ToolBarButtonsGapsAndPictures)
{
    UserInterface& bar = make("Main Tool Bar");
    bar.setType(UserInterface::TypeToolBar);
    Item& open = add(bar, Item::TypeButton, "Open", "FILE Open");
    open.helpText = "Open a file";
    open.image = "open";
    open.states = "border=Yes\r\nImage Right=arrow\r\nBkgnd Up=up\r\nBkgnd Down=nothere";
    add(bar, Item::TypeSeparator, "");
    add(bar, Item::TypeTitle, "ignored");
    add(bar, Item::TypeButtons, "More", "VIEW More").image = "missing";

    const auto buttons = CUserInterfaceToolBar::build(bar);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_FALSE(buttons[0].gap);
    EXPECT_EQ(buttons[0].id, "FILE Open");
    EXPECT_EQ(buttons[0].title, "Open");
    EXPECT_EQ(buttons[0].helpText, "Open a file");
    EXPECT_EQ(buttons[0].image.index, 0);
    EXPECT_EQ(buttons[0].imageRight.index, 1);
    EXPECT_EQ(buttons[0].backgroundUp.index, 2);
    EXPECT_EQ(buttons[0].backgroundDown.id, "nothere");
    EXPECT_FALSE(buttons[0].backgroundDown.present());
    EXPECT_TRUE(buttons[0].border);
    EXPECT_TRUE(buttons[1].gap);
    EXPECT_EQ(buttons[1].itemIndex, 1);
    EXPECT_EQ(buttons[2].id, "VIEW More");
    EXPECT_EQ(buttons[2].itemIndex, 3);
    EXPECT_FALSE(buttons[2].image.present());
    EXPECT_FALSE(buttons[2].border);

    bar.setPictureSource(nullptr);
    EXPECT_FALSE(CUserInterfaceToolBar::build(bar)[0].image.present()) << "no picture source, no pictures";
}

TEST_F(Descriptions, MenuTreeWithGroups)
{
    UserInterface& menu = make("Main Menu");
    add(menu, Item::TypeGroupEnd, "stray end");  // ignored
    add(menu, Item::TypeGroupBegin, "&File");
    add(menu, Item::TypeButton, "&Open", "FILE Open").image = "open";
    add(menu, Item::TypeSeparator, "");
    add(menu, Item::TypeGroupBegin, "Recent");
    add(menu, Item::TypeButton, "One");
    add(menu, Item::TypeGroupEnd, "");
    add(menu, Item::TypeGroupEnd, "");
    add(menu, Item::TypeText, "not in menus");
    add(menu, 99, "unknown type");
    add(menu, Item::TypeButton, "&About");
    add(menu, Item::TypeGroupBegin, "Left open");
    add(menu, Item::TypeButton, "Inside");

    const auto entries = CUserInterfaceMenu::build(menu);
    ASSERT_EQ(entries.size(), 3u);
    const CMenuEntry& file = entries[0];
    EXPECT_EQ(file.kind, CMenuEntry::Kind::SubMenu);
    EXPECT_EQ(file.title, "&File");
    ASSERT_EQ(file.children.size(), 3u);
    EXPECT_EQ(file.children[0].id, "FILE Open");
    EXPECT_EQ(file.children[0].itemIndex, 2);
    EXPECT_EQ(file.children[0].picture.index, 0);
    EXPECT_EQ(file.children[1].kind, CMenuEntry::Kind::Separator);
    ASSERT_EQ(file.children[2].children.size(), 1u);
    EXPECT_EQ(file.children[2].children[0].title, "One");
    EXPECT_EQ(entries[1].title, "&About");
    EXPECT_EQ(entries[1].kind, CMenuEntry::Kind::Command);
    ASSERT_EQ(entries[2].children.size(), 1u);
    EXPECT_EQ(entries[2].children[0].title, "Inside");
}

TEST_F(Descriptions, MenuNestingIsBounded)
{
    UserInterface& menu = make("deep");
    for (int i = 0; i < 1000; ++i)
        add(menu, Item::TypeGroupBegin, "g");
    add(menu, Item::TypeButton, "leaf");
    for (int i = 0; i < 1000; ++i)
        add(menu, Item::TypeGroupEnd, "");
    add(menu, Item::TypeButton, "after");
    const auto entries = CUserInterfaceMenu::build(menu);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].title, "after") << "the matching ends return to the top";
    int depth = 0;
    const CMenuEntry* e = &entries[0];
    while (!e->children.empty() && e->children[0].kind == CMenuEntry::Kind::SubMenu) {
        e = &e->children[0];
        ++depth;
    }
    EXPECT_EQ(depth + 1, CUserInterfaceMenu::kMaxDepth);
    ASSERT_EQ(e->children.size(), 1u);
    EXPECT_EQ(e->children[0].title, "leaf");
}

TEST_F(Descriptions, DialogFieldsAndLevels)
{
    UserInterface& row = make("Row");
    add(row, Item::TypeButton, "A");
    add(row, Item::TypeSeparator, "");
    add(row, Item::TypeButton, "B");

    UserInterface& ui = make("Dialog");
    add(ui, Item::TypeTitle, "Settings");
    add(ui, Item::TypeGroupBegin, "Group").level = 0;
    Item& real = add(ui, Item::TypeFloatingNumber, "Speed");
    real.defaultValue = "2.5";
    real.level = 1;
    Item& integer = add(ui, Item::TypeIntegerNumber, "Count");
    integer.defaultValue = "42";
    integer.minimumValue = "-3";
    integer.maximumValue = "";
    integer.level = -5;
    add(ui, Item::TypeGroupEnd, "");
    add(ui, Item::TypeGroupEnd, "");  // extra end: depth stays 0
    add(ui, Item::TypeBoolean, "Flag").defaultValue = "1";
    Item& text = add(ui, Item::TypeTextMultipleLines, "Notes");
    text.defaultValue = "hello";
    text.maximumValue = "80";
    Item& info = add(ui, Item::TypeInformation, "Info");
    info.helpText = "more";
    add(ui, Item::TypeInformation, "Bare");
    add(ui, Item::TypeSeparator, "Line");
    add(ui, Item::TypeFilenames, "Files");
    add(ui, Item::TypeColor, "Tint").defaultValue = "(80)FF8000";
    add(ui, Item::TypeImage, "Picture").image = "arrow";
    add(ui, Item::TypeButtons, "Row").defaultValue = "Row";
    add(ui, Item::TypeButtons, "Nowhere").defaultValue = "no such";
    for (std::int32_t t : std::vector<std::int32_t>{Item::TypeNone, Item::TypeCustom, Item::TypeGrid, Item::TypeCurve, 77})
        add(ui, t, "nothing");
    Item& button = add(ui, Item::TypeButton, "Go", "GO");
    button.states = "Border=Yes";

    const auto f = CUserInterfaceDialog::build(ui, document.get());
    ASSERT_EQ(f.size(), 15u);
    using K = CDialogField::Kind;
    EXPECT_EQ(f[0].kind, K::Title);
    EXPECT_EQ(f[1].kind, K::Title);
    EXPECT_EQ(f[1].label, "Group");
    EXPECT_EQ(f[1].level, 0);

    EXPECT_EQ(f[2].kind, K::Float);
    EXPECT_EQ(f[2].level, 2);
    EXPECT_DOUBLE_EQ(f[2].realValue, 2.5);
    EXPECT_FALSE(f[2].hasMinimum);
    EXPECT_FALSE(f[2].hasMaximum);
    EXPECT_EQ(f[2].realMinimum, -std::numeric_limits<double>::max());
    EXPECT_EQ(f[2].realMaximum, std::numeric_limits<double>::max());

    EXPECT_EQ(f[3].kind, K::Integer);
    EXPECT_EQ(f[3].level, 0) << "never below 0";
    EXPECT_EQ(f[3].integerValue, 42);
    EXPECT_TRUE(f[3].hasMinimum);
    EXPECT_EQ(f[3].integerMinimum, -3);
    EXPECT_FALSE(f[3].hasMaximum);

    EXPECT_EQ(f[4].kind, K::Boolean);
    EXPECT_EQ(f[4].integerValue, 1);
    EXPECT_EQ(f[4].level, 0);
    EXPECT_EQ(f[5].kind, K::Text);
    EXPECT_TRUE(f[5].multiLine);
    EXPECT_EQ(f[5].text, "hello");
    EXPECT_FALSE(f[5].hasMinimum);
    EXPECT_EQ(f[5].integerMinimum, 0);
    EXPECT_EQ(f[5].integerMaximum, 80);
    EXPECT_EQ(f[6].text, "Info\nmore");
    EXPECT_EQ(f[7].text, "Bare");
    EXPECT_FALSE(f[7].separatorStyle);
    EXPECT_TRUE(f[8].separatorStyle);
    EXPECT_EQ(f[8].text, "Line");
    EXPECT_EQ(f[9].kind, K::Filenames);
    EXPECT_EQ(f[9].filter, "All Files (*.*)\n*.*\n\n");
    EXPECT_EQ(f[10].colour, QColor(255, 128, 0, 0x80));
    EXPECT_EQ(f[11].kind, K::Bitmap);
    EXPECT_EQ(f[11].picture.index, 1);
    EXPECT_EQ(f[12].kind, K::ToolBar);
    ASSERT_EQ(f[12].buttons.size(), 3u);
    EXPECT_EQ(f[12].buttons[2].title, "B");
    EXPECT_TRUE(f[12].buttons[1].gap);
    EXPECT_TRUE(f[13].buttons.empty());
    EXPECT_EQ(f[14].kind, K::Button);
    EXPECT_EQ(f[14].button.id, "GO");
    EXPECT_TRUE(f[14].button.border);
    EXPECT_EQ(CDialogField::kindName(f[14].kind), "Button");
    EXPECT_EQ(CDialogField::kindName(K::ToolBar), "ToolBar");
}
