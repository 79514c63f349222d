#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CCellDelegate.h"
#include "kinds/CItemKinds.h"
#include "kinds/colors/CColorItem.h"
#include "kinds/colors/ui/CColorSwatchView.h"
#include "kinds/binaryfiles/ui/CBinaryFilesPanel.h"
#include "kinds/colors/ui/CColorsPanel.h"
#include "kinds/sounds/ui/CSoundsPanel.h"
#include "kinds/texts/ui/CTextsPanel.h"
#include "ui/PanelTesting.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
struct ColorsFixture : ::testing::Test {
    ColorsFixture() : holder(&createKindPrototype)
    {
        for (const char* id : {"red", "green", "blue"})
            holder.newItem(GroupColors, id);
        panel.attach(&holder, &host);
    }
    CColorItem& color(int i) { return *dynamic_cast<CColorItem*>(holder.get(GroupColors, i)); }
    static constexpr int kColorColumn = CColorsPanel::ColColor + CItemsGrid::kLeadingColumns;

    CResourceHolder holder;
    RecordingPanelHost host;
    CColorsPanel panel;
};
} // namespace

TEST_F(ColorsFixture, ColumnsAndTexts)
{
    EXPECT_EQ(gridHeaders(panel), QStringList({"Index", "Select", "ID", "Color", "Specifications", "Comments"}));
    EXPECT_FALSE(panel.editorCellEditable(CColorsPanel::ColSpecs));
    EXPECT_TRUE(panel.editorCellEditable(CColorsPanel::ColColor));

    color(0).setColor(CColorItem::makeRgb(0x99, 0x66, 0x33), 255);
    EXPECT_EQ(panel.gridCellText(kColorColumn, 0), "(FF)  99 66 33");
}

TEST_F(ColorsFixture, ColorEditStoresRgbAndAlphaIntoEveryMarkedRow)
{
    panel.selectRow(0);
    panel.setMarked(2, true);
    panel.editCell(kColorColumn, 0, "(40)  FF 80 00");
    for (int i : {0, 2}) {
        EXPECT_EQ(color(i).rgb(), 0x000080FF) << i;
        EXPECT_EQ(color(i).alpha(), 0x40) << i;
    }
    EXPECT_EQ(color(1).rgb(), 0);
    EXPECT_EQ(color(1).alpha(), 255);
    EXPECT_EQ(panel.gridCellText(CColorsPanel::ColSpecs + CItemsGrid::kLeadingColumns, 0),
              "Alpha 64, RGB( 255, 128, 0 )");
    EXPECT_GT(host.modified, 0);

    // Any other text reads as a colour cell reads a typed number, leniently
    // (no leading number reads as 0), and keeps the alpha.
    panel.setMarked(2, false);
    color(1).setColor(CColorItem::makeRgb(1, 2, 3), 77);
    panel.editCell(kColorColumn, 1, "255");
    EXPECT_EQ(color(1).rgb(), 255);
    EXPECT_EQ(color(1).alpha(), 77);
    panel.editCell(kColorColumn, 1, "nothing here");
    EXPECT_EQ(color(1).rgb(), 0);
    EXPECT_EQ(color(1).alpha(), 77);
}

TEST_F(ColorsFixture, ColourChooserReplacesRgbAndKeepsAlpha)
{
    ScriptedUi ui;
    color(1).setColor(CColorItem::makeRgb(1, 2, 3), 77);
    ui.colors.answers.push_back(0x00123456);
    panel.selectRow(1);
    auto* delegate = qobject_cast<CCellDelegate*>(panel.table()->itemDelegateForColumn(kColorColumn));
    ASSERT_NE(delegate, nullptr);
    const QModelIndex index = panel.table()->model()->index(1, kColorColumn);
    EXPECT_EQ(delegate->editCell(panel.table(), QRect(0, 0, 80, 20), index, {}, true), 1);
    ASSERT_EQ(ui.colors.started.size(), 1u);
    EXPECT_EQ(ui.colors.started[0], static_cast<std::uint32_t>(CColorItem::makeRgb(1, 2, 3)));
    EXPECT_EQ(color(1).rgb(), 0x00123456);
    EXPECT_EQ(color(1).alpha(), 77);
}

TEST_F(ColorsFixture, MenuHoldsOneDisabledEmptyEntry)
{
    QMenu menu;
    panel.buildMenu(menu, CItemsGrid::kEditorBase);
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions()[0]->text(), "Empty");
    EXPECT_EQ(menu.actions()[0]->statusTip(), "Empty menu");
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
}

TEST_F(ColorsFixture, SwatchesFollowTheSelectionAndShowAlpha)
{
    panel.selectRow(1);
    panel.setMarked(2, true);
    panel.setMarked(0, true);
    auto shown = [this] {
        std::vector<std::string> ids;
        for (const CColorItem* c : panel.swatchView()->colors())
            ids.push_back(c->id());
        return ids;
    };
    // In the order the rows were marked, the unmarked current row last.
    EXPECT_EQ(shown(), (std::vector<std::string>{"blue", "red", "green"}));
    panel.selectAll();
    EXPECT_EQ(shown(), (std::vector<std::string>{"red", "green", "blue"}));

    EXPECT_TRUE(CColorSwatchView::sampleRect(QRect(0, 0, 100, 48)).isEmpty());
    EXPECT_TRUE(CColorSwatchView::sampleRect(QRect(0, 0, 32, 100)).isEmpty());
    EXPECT_EQ(CColorSwatchView::sampleRect(QRect(0, 0, 100, 100)), QRect(QPoint(50, 20), QPoint(91, 91)));

    // An opaque colour looks the same in every part of the sample; a
    // transparent one shows white on the left and black on the right.
    auto sampleColors = [](const CColorItem& c) {
        QImage image(100, 100, QImage::Format_RGB32);
        QPainter p(&image);
        CColorSwatchView::paintSwatch(p, image.rect(), c);
        p.end();
        return std::vector<QRgb>{image.pixel(58, 30), image.pixel(84, 30), image.pixel(70, 80)};
    };
    color(0).setColor(CColorItem::makeRgb(200, 40, 10), 255);
    for (QRgb rgb : sampleColors(color(0)))
        EXPECT_EQ(rgb & 0xffffff, 0xC8280Au);
    color(0).setColor(CColorItem::makeRgb(200, 40, 10), 0);
    const auto clear = sampleColors(color(0));
    EXPECT_EQ(clear[0] & 0xffffff, 0xFFFFFFu);
    EXPECT_EQ(clear[1] & 0xffffff, 0x000000u);
}

TEST_F(ColorsFixture, CheckPassesDistinctIdsAndReportsAClash)
{
    ScriptedUi ui;
    // Colours of one value under different names are no fault.
    EXPECT_TRUE(panel.check());
    EXPECT_TRUE(ui.prompter.messages.empty());
    color(2).setId("red");
    EXPECT_FALSE(panel.check());
    EXPECT_EQ(ui.prompter.messages, std::vector<std::string>{"The ID \"red\" of item 2 is already the ID of item 0."});
    EXPECT_EQ(panel.currentItem(), 2);
}

// Pictures of the colour, binary file, sound and text grids on the demo
// document, a few rows marked and the group menu open, for looking at by
// eye: written only when QUILLOP_SCREENSHOTS names a folder.
TEST(SmallGroupsPictures, DemoDocumentGrids)
{
    if (DemoPictures::folder().isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS not set";
    DemoPictures pictures;
    ASSERT_TRUE(pictures.loaded());
    RecordingPanelHost host;
    CColorsPanel colors;
    CBinaryFilesPanel files;
    CSoundsPanel sounds;
    CTextsPanel texts;
    pictures.grid(colors, host, QStringLiteral("grid_colors"));
    pictures.grid(files, host, QStringLiteral("grid_binaryfiles"));
    pictures.grid(sounds, host, QStringLiteral("grid_sounds"));
    pictures.grid(texts, host, QStringLiteral("grid_texts"));
}
