#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CTitledTextView.h"
#include "kinds/CItemKinds.h"
#include "kinds/texts/CTextItem.h"
#include "kinds/texts/ui/CTextsPanel.h"
#include "params/ui/CGuiColors.h"
#include "ui/PanelTesting.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
struct TextsFixture : ::testing::Test {
    TextsFixture() : holder(&createKindPrototype)
    {
        add("name", "Quillop");
        add("greeting", "Hello from [name]!");
        add("empty", "");
        panel.attach(&holder, &host);
        panel.reload();
    }
    void add(const char* id, const char* text)
    {
        static_cast<CTextItem*>(holder.get(GroupTexts, holder.newItem(GroupTexts, id)))->setText(text);
    }
    CTextItem& text(int i) { return *static_cast<CTextItem*>(holder.get(GroupTexts, i)); }

    CResourceHolder holder;
    RecordingPanelHost host;
    CTextsPanel panel;
};

constexpr int kText = CTextsPanel::ColText + CItemsGrid::kLeadingColumns;
} // namespace

TEST_F(TextsFixture, ColumnsAndTheEmptyMenu)
{
    EXPECT_EQ(gridHeaders(panel), QStringList({"Index", "Select", "ID", "Text", "Comments"}));
    EXPECT_EQ(panel.gridCellText(kText, 1), "Hello from [name]!");

    QMenu menu;
    panel.buildMenu(menu, 0);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), "Empty");
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
}

TEST_F(TextsFixture, PreviewShowsTheCurrentRecordExpandedAndFollowsEdits)
{
    panel.selectRow(1);
    EXPECT_EQ(panel.preview()->title(), "greeting");
    EXPECT_EQ(panel.preview()->text(), "Hello from Quillop!");

    // Editing the referenced record changes what the current one shows.
    panel.editCell(kText, 0, "the editor");
    EXPECT_EQ(text(0).text(), "the editor");
    EXPECT_GT(host.modified, 0);
    panel.selectRow(1);
    EXPECT_EQ(panel.preview()->text(), "Hello from the editor!");

    panel.selectRow(2);
    EXPECT_EQ(panel.preview()->title(), "empty");
    EXPECT_EQ(panel.preview()->text(), "") << "an empty text shows only its ID";
}

TEST_F(TextsFixture, PastingACellFromAnotherRowCopiesThatField)
{
    EXPECT_EQ(panel.copyEditorCell(CTextsPanel::ColText, 2, 1), 1);
    EXPECT_EQ(text(2).text(), "Hello from [name]!");
    EXPECT_EQ(text(2).id(), "empty");
}

TEST_F(TextsFixture, CheckReportsTwoRecordsWithOneIdAndReferencesToNoText)
{
    ScriptedUi ui;
    EXPECT_TRUE(panel.check());
    // Renaming a text leaves the references to its old ID naming nothing.
    add("dangling", "see [empty]");
    text(0).setId("title");
    panel.reload();
    EXPECT_FALSE(panel.check());
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{
                                        "The text \"greeting\" (item 1) refers to \"[name]\", but no text has the ID \"name\"."});
    EXPECT_EQ(panel.currentItem(), 1);
    ui.prompter.messages.clear();
    text(0).setId("name");
    EXPECT_TRUE(panel.check());
    text(3).setId("name");
    EXPECT_FALSE(panel.check());
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{"The ID \"name\" of item 3 is already the ID of item 0."});
    EXPECT_EQ(panel.currentItem(), 3);
}

TEST_F(TextsFixture, PreviewIsDrawnInTheProgramsColoursAndFollowsThem)
{
    struct Restore {
        ~Restore() { CGuiColors::instance().resetToDefaults(); }
    } restore;
    panel.selectRow(0);
    CTitledTextView& preview = *panel.preview();
    preview.resize(200, 120);
    auto corner = [&preview] { return preview.grab().toImage().pixelColor(1, 1); };
    EXPECT_EQ(corner(), CGuiColors::instance().qcolor(CGuiColors::WindowFace));
    EXPECT_EQ(preview.palette().color(QPalette::Text), CGuiColors::instance().qcolor(CGuiColors::WindowText));

    CGuiColors::instance().setRgb(CGuiColors::WindowFace, CGuiColors::rgb(10, 20, 30));
    CGuiColors::instance().repaintAll();
    EXPECT_EQ(corner(), QColor(10, 20, 30));
}

// The panel is shown as a window of its own, so the fixture also checks that
// a grid destroyed while visible does not ask its half-destroyed self for cells.
TEST_F(TextsFixture, RowsGrowToShowLineBreaksWithinALimit)
{
    panel.resize(900, 500);
    panel.show();
    panel.editCell(kText, 1, "one\ntwo\nthree");
    panel.editCell(kText, 2, QString("line\n").repeated(40));
    QTableView& table = *panel.table();
    EXPECT_EQ(table.rowHeight(0), CItemsGrid::kRowHeight);
    EXPECT_GE(table.rowHeight(1), 3 * table.fontMetrics().lineSpacing());
    EXPECT_LT(table.rowHeight(1), CItemsGrid::kTallestRow);
    EXPECT_EQ(table.rowHeight(2), CItemsGrid::kTallestRow);

    // Back to one line, the row shrinks again.
    panel.editCell(kText, 1, "one");
    EXPECT_EQ(table.rowHeight(1), CItemsGrid::kRowHeight);
}
