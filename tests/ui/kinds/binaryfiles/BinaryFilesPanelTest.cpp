#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CTitledTextView.h"
#include "kinds/CItemKinds.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"
#include "kinds/binaryfiles/ui/CBinaryFilesPanel.h"
#include "ui/PanelTesting.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
struct BinaryFixture : ::testing::Test {
    BinaryFixture() : holder(&createKindPrototype) { panel.attach(&holder, &host); }
    CBinaryFileItem* file(int i) { return dynamic_cast<CBinaryFileItem*>(holder.get(GroupBinaryFiles, i)); }

    TempFolder folder;
    ScriptedUi ui;
    CResourceHolder holder;
    RecordingPanelHost host;
    CBinaryFilesPanel panel;
};
} // namespace

TEST_F(BinaryFixture, InsertReadsEveryReadableFileAndDropsTheRest)
{
    EXPECT_EQ(gridHeaders(panel), QStringList({"Index", "Select", "ID", "Source Filename", "Specifications", "Comments"}));

    const std::string data = folder.path("level.data.bin");
    writeAll(data, QByteArray(1536, '\x5a'));
    ui.files.answers.push_back({data, folder.path("missing.bin")});
    panel.runCommand(CItemsGrid::CmdInsert);

    ASSERT_EQ(ui.files.requests.size(), 1u);
    EXPECT_EQ(ui.files.requests[0].title, "Insert Binary File(s) Filename(s)");
    EXPECT_TRUE(ui.files.requests[0].multiple);
    EXPECT_EQ(ui.files.requests[0].filter.substr(0, 15), "All Files (*.*)");
    ASSERT_EQ(holder.count(GroupBinaryFiles), 1);
    EXPECT_EQ(file(0)->id(), "level.data");
    EXPECT_EQ(file(0)->sourceFileName(), data);
    EXPECT_EQ(panel.currentItem(), 0);
    EXPECT_EQ(panel.gridCellText(CBinaryFilesPanel::ColSpecs + CItemsGrid::kLeadingColumns, 0), "1536 Bytes");
    EXPECT_EQ(panel.infoView()->title(), "level.data");
    // Each number keeps its unit on its line (a no-break space between).
    const QString info = panel.infoView()->text();
    for (const char* sized : {"1536 bytes", "1.50 KB", "0.00 MB"})
        EXPECT_TRUE(info.contains(QString::fromLatin1(sized).replace(' ', QChar(0x00A0)))) << sized;

    // Cancelling the dialog inserts nothing.
    panel.runCommand(CItemsGrid::CmdInsert);
    EXPECT_EQ(holder.count(GroupBinaryFiles), 1);
}

TEST_F(BinaryFixture, SourceNameEditRenamesOnlyAndSaveWritesTheData)
{
    const std::string source = folder.path("a.bin");
    writeAll(source, QByteArray("abc"));
    panel.dropFiles({QString::fromStdString(source)});
    ASSERT_EQ(holder.count(GroupBinaryFiles), 1);
    panel.selectRow(0);
    panel.editCell(CBinaryFilesPanel::ColSource + CItemsGrid::kLeadingColumns, 0, "elsewhere/b.bin");
    EXPECT_EQ(file(0)->sourceFileName(), "elsewhere/b.bin");
    EXPECT_EQ(file(0)->data().size(), 3u);

    QMenu menu;
    panel.buildMenu(menu, CItemsGrid::kEditorBase);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), "&Save Binary File Source...");
    EXPECT_EQ(menu.actions()[0]->statusTip(), "Save the source file to a separate file");
    EXPECT_TRUE(menu.actions()[0]->isEnabled());

    const std::string target = folder.path("out.bin");
    ui.files.answers.push_back({target});
    const int modifiedBefore = host.modified;
    panel.runCommand(CItemsGrid::kEditorBase + CBinaryFilesPanel::EntrySaveSource);
    ASSERT_EQ(ui.files.requests.size(), 1u);
    EXPECT_EQ(ui.files.requests[0].title, "Save Binary File Source Filename");
    EXPECT_TRUE(ui.files.requests[0].save);
    EXPECT_EQ(ui.files.requests[0].startName, "elsewhere/b.bin");
    EXPECT_EQ(readAll(target), QByteArray("abc"));
    // Writing a copy out is no change of the document.
    EXPECT_EQ(host.modified, modifiedBefore);
}

TEST_F(BinaryFixture, SaveIsDisabledWithoutRows)
{
    QMenu menu;
    panel.buildMenu(menu, CItemsGrid::kEditorBase);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
    EXPECT_EQ(panel.saveSource(), 0);
    EXPECT_TRUE(ui.files.requests.empty());
}

TEST_F(BinaryFixture, CheckPassesEmptyFilesAndReportsAClash)
{
    holder.newItem(GroupBinaryFiles, "level");
    holder.newItem(GroupBinaryFiles, "empty");
    file(0)->setData({1, 2, 3});
    panel.reload();
    // A file with no bytes (and no source) is a file like any other.
    EXPECT_TRUE(panel.check());
    EXPECT_TRUE(ui.prompter.messages.empty());
    file(1)->setId("level");
    EXPECT_FALSE(panel.check());
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{"The ID \"level\" of item 1 is already the ID of item 0."});
    EXPECT_EQ(panel.currentItem(), 1);
}
