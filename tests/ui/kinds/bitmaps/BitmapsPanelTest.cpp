#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/animations/ui/CAnimationsPanel.h"
#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"
#include "kinds/bitmaps/ui/CBitmapsPanel.h"
#include "kinds/maps/ui/CMapsPanel.h"
#include "kinds/maps/CMapItem.h"
#include "media/image/CImageFiles.h"
#include "media/image/CPictureThumbnails.h"
#include "ui/PanelTesting.h"
#include "ui/ShellFakes.h"
#include "ui/UiFakes.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {
std::string savePng(const TempFolder& folder, const std::string& name, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(qRgba(10, 200, 30, 255));
    const std::string path = folder.path(name);
    image.save(QString::fromStdString(path), "PNG");
    return path;
}

struct BitmapsPanelFixture : ::testing::Test {
    BitmapsPanelFixture() : holder(createDocumentHolder())
    {
        for (int i = 0; i < 5; ++i)
            holder->newItem(GroupBitmaps, "b" + std::to_string(i));
        panel.attach(holder.get(), &host);
    }
    CBitmapItem* bitmap(int row) { return dynamic_cast<CBitmapItem*>(holder->get(GroupBitmaps, row)); }
    QAction* entry(QMenu& menu, int offset)
    {
        for (QAction* action : menu.actions())
            if (!action->isSeparator() && action->data().toInt() == CItemsGrid::kEditorBase + offset)
                return action;
        return nullptr;
    }

    ScriptedUi ui;
    TempFolder folder;
    std::unique_ptr<CResourceHolder> holder;
    RecordingPanelHost host;
    CBitmapsPanel panel;
};
// An 8 x 6 red picture as a PNG file's bytes.
QByteArray redPng()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage picture(8, 6, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    return picture.save(&buffer, "PNG") ? png : QByteArray();
}
} // namespace

TEST_F(BitmapsPanelFixture, ColumnsShowTheRecordWithTheKindListAndThumbnail)
{
    const QStringList titles{"ID", "Type", "", "Width", "Height", "Offset X", "Offset Y", "Extra Attributes",
                             "Source Filename", "Source Nb Bytes", "Used Game Memory", "Specifications", "Comments"};
    ASSERT_EQ(panel.editorColumnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c)
        EXPECT_EQ(panel.editorHeader(c), titles[c]);
    EXPECT_EQ(panel.gridColumnCount(), 15) << "Index and Select lead the thirteen columns";

    ui.files.answers.push_back({savePng(folder, "tile.png", 7, 3)});
    panel.insertItem();
    const int row = 5;
    ASSERT_EQ(panel.rowCount(), 6);
    CellValue type;
    ASSERT_TRUE(panel.editorCellValue(CBitmapsPanel::ColType, row, type));
    EXPECT_EQ(type.kind(), CellValue::KindChoice);
    ASSERT_NE(type.choice().list, nullptr);
    EXPECT_EQ(type.choice().list->size(), 38u);
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColType, row), "GDI+ Image");
    CellValue thumb;
    ASSERT_TRUE(panel.editorCellValue(CBitmapsPanel::ColThumbnail, row, thumb));
    EXPECT_EQ(thumb.kind(), CellValue::KindPicture);
    EXPECT_EQ(thumb.picture().index, row);
    EXPECT_FALSE(thumb.isEditable());
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColWidth, row), "+7");
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColHeight, row), "+3");
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColExtra, row), "None");
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColGameMemory, row), "+84");
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColSpecs, row), "32 Bits, 1 Frames");
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColSourceBytes, row).toInt(), bitmap(row)->sourceBytes().size());
}

TEST_F(BitmapsPanelFixture, InsertAddsEveryDecodedFileNamedAfterItAndDropsTheRest)
{
    const std::string bad = folder.path("broken.png");
    writeAll(bad, QByteArray("not a picture"));
    ui.files.answers.push_back({savePng(folder, "grass.png", 4, 4), bad, savePng(folder, "rock.v2.png", 2, 2)});
    panel.insertItem();
    ASSERT_EQ(ui.files.requests.size(), 1u);
    EXPECT_EQ(ui.files.requests[0].title, "Insert Image(s) Filename(s)");
    EXPECT_EQ(ui.files.requests[0].filter, CBitmapsPanel::kImageFilter);
    EXPECT_TRUE(ui.files.requests[0].multiple);
    ASSERT_EQ(holder->count(GroupBitmaps), 7);
    EXPECT_EQ(holder->get(GroupBitmaps, 5)->id(), "grass");
    EXPECT_EQ(holder->get(GroupBitmaps, 6)->id(), "rock.v2");
    EXPECT_EQ(panel.currentItem(), 6);

    panel.insertItem(); // cancelled: nothing added
    EXPECT_EQ(holder->count(GroupBitmaps), 7);
    panel.dropFiles({QString::fromStdString(savePng(folder, "dropped.png", 1, 1))});
    EXPECT_EQ(holder->get(GroupBitmaps, 7)->id(), "dropped");
}

TEST_F(BitmapsPanelFixture, EditsStoreTheFieldAndReachEveryMarkedRow)
{
    panel.setMarked(3, true);
    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 1);
    panel.editCell(CItemsGrid::kLeadingColumns + CBitmapsPanel::ColOffsetX, 1, "-2.25");
    EXPECT_DOUBLE_EQ(bitmap(1)->offsetX(), -2.25);
    EXPECT_DOUBLE_EQ(bitmap(3)->offsetX(), -2.25) << "the marked row takes the same value";
    EXPECT_DOUBLE_EQ(bitmap(2)->offsetX(), 0.0);

    panel.editCell(CItemsGrid::kLeadingColumns + CBitmapsPanel::ColSourceFilename, 1, "renamed.png");
    EXPECT_EQ(bitmap(1)->sourceFilename(), "renamed.png");
    EXPECT_EQ(bitmap(3)->sourceFilename(), "renamed.png");

    const int kindBefore = bitmap(1)->kind();
    panel.editCell(CItemsGrid::kLeadingColumns + CBitmapsPanel::ColType, 1, "GDI+ Image");
    EXPECT_EQ(bitmap(1)->kind(), kindBefore) << "the kind list only shows the kind";

    panel.editCell(CItemsGrid::kLeadingColumns + CBitmapsPanel::ColWidth, 1, "99");
    EXPECT_EQ(bitmap(1)->width(), 0.0) << "the width is not editable";
}

TEST_F(BitmapsPanelFixture, MenuEnablingFollowsRowsSelectionAndCurrentRow)
{
    QMenu menu;
    panel.buildMenu(menu, CItemsGrid::kEditorBase);
    for (int offset : {CBitmapsPanel::MenuCrop, CBitmapsPanel::MenuSetAlpha, CBitmapsPanel::MenuChangeColor,
                       CBitmapsPanel::MenuReload, CBitmapsPanel::MenuMakeAnimation}) {
        ASSERT_NE(entry(menu, offset), nullptr);
        EXPECT_TRUE(entry(menu, offset)->isEnabled()) << offset;
    }
    for (int offset : {CBitmapsPanel::MenuSaveSource, CBitmapsPanel::MenuViewWithoutAlpha,
                       CBitmapsPanel::MenuViewOnlyAlpha})
        EXPECT_FALSE(entry(menu, offset)->isEnabled()) << offset;
    // The entries in order, separators as "-", each with its help text and
    // the command it sends.
    const std::vector<std::tuple<QString, QString, int>> layout{
        {"&Crop to Alpha Channel", "Optimize the size of the bitmap by removing unused space", CBitmapsPanel::MenuCrop},
        {"&Set Alpha Channel to Color...",
         "Set a color to be transparent, crop the image to the alpha channel, save and reload the image source (to a "
         "temporary file)",
         CBitmapsPanel::MenuSetAlpha},
        {"&Change Color...", "Replace a color with another one, save and reload the image source (to a temporary file)",
         CBitmapsPanel::MenuChangeColor},
        {"-", "", -1},
        {"&Reload Image Source...", "Reload the image source but keep the parameters", CBitmapsPanel::MenuReload},
        {"&Save Image Source...", "Save the image source to a separate file", CBitmapsPanel::MenuSaveSource},
        {"-", "", -1},
        {"Make &Animation From Selection", "Build an animation from the selected bitmaps",
         CBitmapsPanel::MenuMakeAnimation},
        {"-", "", -1},
        {"View Without Alpha Channel", "Display the entire image without any transparency",
         CBitmapsPanel::MenuViewWithoutAlpha},
        {"View Only Alpha Channel", "Display only the levels of transparency", CBitmapsPanel::MenuViewOnlyAlpha}};
    ASSERT_EQ(menu.actions().size(), static_cast<qsizetype>(layout.size()));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const QAction* action = menu.actions()[static_cast<qsizetype>(i)];
        const auto& [label, help, offset] = layout[i];
        SCOPED_TRACE(label.toStdString());
        EXPECT_EQ(action->isSeparator(), label == "-");
        if (label == "-")
            continue;
        EXPECT_EQ(action->text(), label);
        EXPECT_EQ(action->statusTip(), help);
        EXPECT_EQ(action->data().toInt(), CItemsGrid::kEditorBase + offset);
    }

    auto empty = createDocumentHolder();
    CBitmapsPanel bare;
    bare.attach(empty.get(), &host);
    QMenu none;
    bare.buildMenu(none, CItemsGrid::kEditorBase);
    for (QAction* action : none.actions()) {
        if (action->isSeparator())
            continue;
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
}

TEST_F(BitmapsPanelFixture, MakeAnimationTakesTheRowsInTheOrderTheyWereMarked)
{
    for (int i = 5; i < 8; ++i)
        holder->newItem(GroupBitmaps, "more");
    panel.reload();
    panel.setMarked(4, true);
    panel.setMarked(1, true);
    panel.setMarked(7, true);
    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 4);
    ASSERT_TRUE(panel.runCommand(CItemsGrid::kEditorBase + CBitmapsPanel::MenuMakeAnimation));
    ASSERT_EQ(holder->count(GroupAnimations), 1);
    const auto* animation = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, 0));
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->id(), "Bitmaps Selection");
    EXPECT_EQ(animation->playMode(), 1);
    ASSERT_EQ(animation->frameCount(), 3);
    EXPECT_EQ(animation->frame(0)->bitmap, 4);
    EXPECT_EQ(animation->frame(1)->bitmap, 1);
    EXPECT_EQ(animation->frame(2)->bitmap, 7);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(animation->frame(i)->delay, 1);
    EXPECT_EQ(host.reloads, 1) << "every panel reloads";
    EXPECT_GT(host.modified, 0);
}

TEST_F(BitmapsPanelFixture, ColorCommandsAskForTheirColoursAndStopOnCancel)
{
    ui.files.answers.push_back({savePng(folder, "green.png", 3, 2)});
    panel.insertItem();
    const int row = panel.currentItem();
    ui.colors.answers = {0x1EC80Au}; // the picture's colour, 0x00BBGGRR
    ASSERT_TRUE(panel.runCommand(CItemsGrid::kEditorBase + CBitmapsPanel::MenuSetAlpha));
    EXPECT_EQ(qAlpha(bitmap(row)->imageView().pixel(0, 0)), 0);
    EXPECT_EQ(bitmap(row)->imageView().size(), QSize(3, 2))
        << "a fully transparent picture cannot be cropped, so it is kept whole";
    EXPECT_EQ(ui.colors.started.size(), 1u);

    const int modified = host.modified;
    ui.colors.answers = {0x1EC80Au}; // the second dialog is cancelled
    panel.runCommand(CItemsGrid::kEditorBase + CBitmapsPanel::MenuChangeColor);
    EXPECT_EQ(ui.colors.started.size(), 3u) << "two colour dialogs, the second one cancelled";
    EXPECT_EQ(host.modified, modified);
}

TEST_F(BitmapsPanelFixture, PasteFromAnotherRowCopiesOnlyTheEditableFields)
{
    ui.files.answers.push_back({savePng(folder, "source.png", 6, 2)});
    panel.insertItem();
    const int from = panel.currentItem();
    bitmap(from)->setOffsetX(4.5);
    bitmap(from)->setOffsetY(-7);
    bitmap(from)->setComments("note");
    for (int column : {CBitmapsPanel::ColId, CBitmapsPanel::ColOffsetX, CBitmapsPanel::ColOffsetY,
                       CBitmapsPanel::ColSourceFilename, CBitmapsPanel::ColComments}) {
        EXPECT_EQ(panel.copyEditorCell(column, 0, from), 1) << panel.editorHeader(column).toStdString();
        EXPECT_EQ(panel.editorCellText(column, 0), panel.editorCellText(column, from))
            << panel.editorHeader(column).toStdString();
    }
    EXPECT_EQ(bitmap(0)->offsetY(), -7.0);
    EXPECT_EQ(bitmap(0)->sourceFilename(), folder.path("source.png"));

    // The rest describe the picture and stay with it.
    for (int column : {CBitmapsPanel::ColThumbnail, CBitmapsPanel::ColWidth, CBitmapsPanel::ColHeight,
                       CBitmapsPanel::ColSourceBytes, CBitmapsPanel::ColGameMemory, CBitmapsPanel::ColSpecs})
        EXPECT_EQ(panel.copyEditorCell(column, 0, from), 0) << panel.editorHeader(column).toStdString();
    panel.copyEditorCell(CBitmapsPanel::ColType, 0, from);
    EXPECT_EQ(bitmap(0)->kind(), CDisplayBuffer::Empty) << "pasting the kind does not change it";
    EXPECT_EQ(bitmap(0)->width(), 0.0);
    EXPECT_TRUE(bitmap(0)->sourceBytes().isEmpty());
}

TEST_F(BitmapsPanelFixture, ReloadImageSourceStartsAtTheSourceAndKeepsTheRowWhenTheFileFails)
{
    const std::string first = savePng(folder, "first.png", 7, 3);
    ui.files.answers.push_back({first});
    panel.insertItem();
    const int row = panel.currentItem();
    bitmap(row)->setOffsetX(5);
    bitmap(row)->setComments("kept");
    const std::string second = savePng(folder, "second.png", 4, 9);
    ui.files.answers.push_back({second});
    const int modified = host.modified;
    ASSERT_TRUE(panel.runCommand(CItemsGrid::kEditorBase + CBitmapsPanel::MenuReload));
    const IFileChooser::Request& asked = ui.files.requests.back();
    EXPECT_EQ(asked.title, "Load Image Source Filename");
    EXPECT_EQ(asked.filter, CBitmapsPanel::kImageFilter);
    EXPECT_EQ(asked.startName, first);
    EXPECT_FALSE(asked.multiple);
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColWidth, row), "+4");
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColHeight, row), "+9");
    EXPECT_EQ(bitmap(row)->id(), "first") << "the row keeps its ID";
    EXPECT_EQ(bitmap(row)->offsetX(), 5.0);
    EXPECT_EQ(bitmap(row)->comments(), "kept");
    EXPECT_GT(host.modified, modified);

    // A file that cannot be decoded must not wipe the picture already there.
    const std::string bad = folder.path("bad.png");
    writeAll(bad, QByteArray("not a picture"));
    ui.files.answers.push_back({bad});
    const int before = host.modified;
    panel.runCommand(CItemsGrid::kEditorBase + CBitmapsPanel::MenuReload);
    EXPECT_EQ(bitmap(row)->kind(), CDisplayBuffer::GdiPlusImage);
    EXPECT_EQ(bitmap(row)->imageView().size(), QSize(4, 9));
    EXPECT_EQ(bitmap(row)->sourceFilename(), second);
    EXPECT_EQ(host.modified, before) << "nothing changed, so nothing is marked modified";
}

TEST_F(BitmapsPanelFixture, CropWorksOnEverySelectedRowAndKeepsWhatIsVisibleInPlace)
{
    QImage framed(8, 6, QImage::Format_ARGB32);
    framed.fill(Qt::transparent);
    framed.setPixel(3, 2, qRgba(200, 10, 10, 255));
    framed.setPixel(5, 4, qRgba(200, 10, 10, 255));
    std::vector<std::string> paths;
    for (const char* name : {"one.png", "two.png", "three.png"}) {
        paths.push_back(folder.path(name));
        ASSERT_TRUE(framed.save(QString::fromStdString(paths.back()), "PNG"));
    }
    ui.files.answers.push_back(paths);
    panel.insertItem(); // rows 5, 6, 7; the current row is 7
    panel.setMarked(5, true);
    ASSERT_TRUE(panel.runCommand(CItemsGrid::kEditorBase + CBitmapsPanel::MenuCrop));
    for (int row : {5, 7}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(bitmap(row)->imageView().size(), QSize(3, 3));
        EXPECT_EQ(bitmap(row)->offsetX(), 3.0);
        EXPECT_EQ(bitmap(row)->offsetY(), 2.0);
        EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColWidth, row), "+3");
    }
    EXPECT_EQ(bitmap(6)->imageView().size(), QSize(8, 6)) << "a row that is not selected is left alone";
    EXPECT_EQ(bitmap(6)->offsetX(), 0.0);
}

TEST_F(BitmapsPanelFixture, DeletingABitmapRenumbersMapCellsOnlyWhenAsked)
{
    const int m = holder->newItem(GroupMaps, "map");
    auto* map = dynamic_cast<CMapItem*>(holder->get(GroupMaps, m));
    ASSERT_NE(map, nullptr);
    map->setCell(0, 0, 2);
    map->setCell(1, 0, 4);
    map->setCell(2, 0, 1);

    host.maintain = false;
    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 0);
    panel.deleteItems();
    EXPECT_EQ(map->cell(0, 0), 2) << "references stay when relationships are not maintained";

    host.maintain = true;
    holder->newItem(GroupBitmaps, "again"); // five rows again
    panel.reload();
    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 2);
    panel.deleteItems();
    EXPECT_EQ(map->cell(0, 0), -1);
    EXPECT_EQ(map->cell(1, 0), 3);
    EXPECT_EQ(map->cell(2, 0), 1);

    panel.setCurrentCell(CItemsGrid::kLeadingColumns, 1);
    panel.moveDown();
    EXPECT_EQ(map->cell(2, 0), 2) << "a move takes its references along";
}

// A stored picture is decoded when first shown; one that then proves broken
// shows as empty, as one found at load does, and the preview says why.
TEST_F(BitmapsPanelFixture, APictureFoundBrokenWhenFirstShownSaysSo)
{
    const QByteArray png = redPng();
    ASSERT_FALSE(png.isEmpty());
    ASSERT_EQ(bitmap(3)->attachEncoded(png.left(png.size() - 20)), 1);
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColType, 3), "GDI+ Image") << "not known before it is shown";
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColWidth, 3), "+8") << "the size needs no decoding";

    panel.selectRow(3);
    EXPECT_EQ(panel.editorCellText(CBitmapsPanel::ColType, 3), "Empty");
    const QString shown = panel.offsetPane()->placeholderText();
    EXPECT_TRUE(shown.contains(QString::fromLatin1(CImageFiles::kUnreadableMessage))) << shown.toStdString();
}

// The grid shows stored pictures from thumbnails made once each, for the
// rows shown only, and leaves them undecoded: only the current row's
// picture, which the preview shows, is decoded.
TEST_F(BitmapsPanelFixture, OnlyTheRowsShownGetThumbnailsAndNothingIsDecoded)
{
    const QByteArray png = redPng();
    ASSERT_FALSE(png.isEmpty());
    const int rows = 40;
    while (holder->count(GroupBitmaps) < rows)
        holder->newItem(GroupBitmaps, "more");
    for (int i = 0; i < rows; ++i)
        ASSERT_EQ(bitmap(i)->attachEncoded(png), 1);
    panel.reload();
    panel.resize(2400, 240);
    CPictureThumbnails& thumbnails = CPictureThumbnails::shared();
    const std::size_t decodedBefore = thumbnails.decodedCount();
    panel.grab();
    QTableView* table = panel.table();
    const int lastShown = table->rowAt(table->viewport()->height() - 1);
    ASSERT_GT(lastShown, 0);
    ASSERT_LT(lastShown, rows - 1);
    panel.grab();
    EXPECT_EQ(thumbnails.decodedCount() - decodedBefore, std::size_t(lastShown))
        << "one thumbnail per row shown, made before painting at the size painted";
    for (int i = 0; i < rows; ++i)
        EXPECT_EQ(bitmap(i)->awaitsDecoding(), i != 0) << i;
    EXPECT_EQ(bitmap(0)->pixel(7, 5), 0xFFFF0000u);
}

// Pictures of the three grids on the demo document, a few rows marked and
// the group menu shown, for looking at by eye: written only when
// QUILLOP_SCREENSHOTS names a folder.
TEST(BitmapsPanelPictures, DemoDocumentGrids)
{
    if (DemoPictures::folder().isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS not set";
    DemoPictures pictures;
    ASSERT_TRUE(pictures.loaded());
    RecordingPanelHost host;
    CBitmapsPanel bitmaps;
    CAnimationsPanel animations;
    CMapsPanel maps;
    pictures.grid(bitmaps, host, QStringLiteral("grid_bitmaps"));
    pictures.grid(animations, host, QStringLiteral("grid_animations"));
    pictures.grid(maps, host, QStringLiteral("grid_maps"));
}
