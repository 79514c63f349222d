#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CImageChooserDialog.h"
#include "grid/ui/CIndexList.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/CPictureThumbnails.h"

#include <QApplication>
#include <QBuffer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
std::unique_ptr<CResourceHolder> documentWithBitmaps(int n)
{
    auto holder = createDocumentHolder();
    for (int i = 0; i < n; ++i)
        holder->newItem(GroupBitmaps, "bmp" + std::to_string(i));
    return holder;
}
} // namespace

TEST(IndexList, EmptyRowAndBitmapRows)
{
    auto doc = documentWithBitmaps(3);
    CIndexList list;
    list.setEmptyRow(true);
    list.attach(doc.get());
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.rowText(0), "-1 - Empty / Transparent");
    EXPECT_EQ(list.rowText(1), "0 - bmp0");
    EXPECT_EQ(list.rowText(3), "2 - bmp2");
    EXPECT_EQ(list.select(5), 0);
    EXPECT_EQ(list.selectedIndex(), 2);
    EXPECT_EQ(list.select(-1), 1);
    EXPECT_EQ(list.select(-4), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.select(1), 1);
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(list.selectedIndex(), -1);
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(list.selectedIndex(), 2);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.selectedIndex(), 1);
    // Shift held: the key takes its usual course.
    QTest::keyClick(&list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list.selectedIndex(), 1);

    EXPECT_EQ(list.setDisplayMode(4), 0);
    EXPECT_EQ(list.displayMode(), CIndexList::ModeBitmaps);
    EXPECT_EQ(list.setDisplayMode(0), 1);
    list.setIndexCount(2);
    EXPECT_EQ(list.rowText(2), "1");
}

TEST(IndexList, WithoutEmptyRowTheFirstIndexIsZero)
{
    auto doc = documentWithBitmaps(3);
    CIndexList list;
    list.attach(doc.get());
    EXPECT_EQ(list.select(-3), 0);
    EXPECT_EQ(list.selectedIndex(), 0);
    EXPECT_EQ(list.select(2), 1);
    EXPECT_EQ(list.select(3), 0);
    EXPECT_EQ(list.selectedIndex(), 2);
    list.attach(nullptr);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.rowText(0), "");
}

TEST(IndexList, FramesOfAnAnimationNameTheirBitmaps)
{
    auto doc = documentWithBitmaps(3);
    const int a = doc->newItem(GroupAnimations, "walk");
    auto* anim = dynamic_cast<CAnimationItem*>(doc->get(GroupAnimations, a));
    ASSERT_NE(anim, nullptr);
    anim->setAnimationType(CAnimationItem::kTypeBitmaps);
    anim->addFrame(1, 4, -2, 3);
    anim->addFrame(7, 1, 0, 0);
    CIndexList list;
    list.attach(doc.get());
    list.setDisplayMode(CIndexList::ModeFrames);
    list.setAnimationIndex(a);
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.rowText(0), "0 - [ 4x 1 ] - <-2, 3> - bmp1");
    EXPECT_EQ(list.rowText(1), "1 - [ 1x 7 ] - <0, 0> - None / Out of Range");
    list.setDisplayMode(CIndexList::ModeAnimations);
    EXPECT_EQ(list.rowText(0), "0 - walk");
    anim->setAnimationType(2);
    list.setDisplayMode(CIndexList::ModeFrames);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(IndexList, SelectionScrollsIntoViewAndTheMousePicksRows)
{
    CIndexList list;
    list.setDisplayMode(CIndexList::ModeIndices);
    list.setIndexCount(100);
    list.resize(200, 100);
    list.show();
    EXPECT_EQ(list.scrollOffset(), 0);
    list.select(50);
    const int row = 50;
    EXPECT_GE(list.rowTop(row), 0);
    EXPECT_LE(list.rowTop(row) + list.rowHeight(row), 100);
    EXPECT_GT(list.scrollOffset(), 0);
    list.select(0);
    EXPECT_EQ(list.scrollOffset(), 0);
    const int y = list.rowTop(3) + 1;
    QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(10, y));
    EXPECT_EQ(list.selectedIndex(), 3);
    // Fewer rows: the selection moves onto the last one.
    list.setIndexCount(2);
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(list.scrollOffset(), 0);
    QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(10, list.rowTop(0) + 1));
    EXPECT_EQ(list.selectedIndex(), 0);
    QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(10, 90));
    EXPECT_EQ(list.selectedIndex(), 0);
}

TEST(ImageChooser, OkTakesTheSelectedBitmap)
{
    auto doc = documentWithBitmaps(3);
    CImageChooserDialog dialog(doc.get(), 1);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Chose Image"));
    EXPECT_EQ(dialog.chosenIndex(), 1);
    dialog.list()->select(-1);
    EXPECT_EQ(dialog.chosenIndex(), -1);
}

// Bitmap rows show thumbnails of stored pictures, made once for the rows
// shown, and leave the pictures undecoded.
TEST(IndexList, BitmapRowsShowThumbnailsOfStoredPicturesWithoutDecodingThem)
{
    QImage red(24, 30, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer device(&png);
    device.open(QIODevice::WriteOnly);
    ASSERT_TRUE(red.save(&device, "PNG"));
    auto doc = documentWithBitmaps(30);
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(dynamic_cast<CDisplayBuffer*>(doc->get(GroupBitmaps, i))->attachEncoded(png), 1);
    CIndexList list;
    list.attach(doc.get());
    list.resize(260, 200);
    const std::size_t decodedBefore = CPictureThumbnails::shared().decodedCount();
    const QImage shown = list.grab().toImage();
    list.grab();
    const int lastShown = list.rowAt(199);
    ASSERT_GT(lastShown, 0);
    EXPECT_EQ(CPictureThumbnails::shared().decodedCount() - decodedBefore, std::size_t(lastShown + 1))
        << "one thumbnail for each row shown, made once";
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(dynamic_cast<CDisplayBuffer*>(doc->get(GroupBitmaps, i))->awaitsDecoding()) << i;
    EXPECT_EQ(shown.pixel(8, list.rowTop(1) + list.rowHeight(1) / 2), qRgb(255, 0, 0));
    list.attach(nullptr);
}
