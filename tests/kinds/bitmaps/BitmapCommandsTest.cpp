#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/bitmaps/BitmapTestSupport.h"
#include "kinds/bitmaps/CBitmapCommands.h"
#include "kinds/bitmaps/CBitmapInsertion.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bitmaptest;

namespace {
// Temporary PNGs go to a folder of the test's own, which must end up empty.
class BitmapCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = qgetenv("TEMP");
        qputenv("TEMP", QByteArray::fromStdString(m_temp.path("")));
    }
    void TearDown() override
    {
        EXPECT_TRUE(QDir(QString::fromStdString(m_temp.path(""))).entryList(QDir::Files).isEmpty());
        qputenv("TEMP", m_previous);
    }

    CBitmapItem* add(const QImage& image)
    {
        auto* item = dynamic_cast<CBitmapItem*>(m_holder->get(GroupBitmaps, m_holder->newItem(GroupBitmaps, "b")));
        item->attachImage(image);
        item->setSourceBytes("original");
        return item;
    }

    std::unique_ptr<CResourceHolder> m_holder = createDocumentHolder();

private:
    TempFolder m_temp;
    QByteArray m_previous;
};

// Two red columns on the left of a blue picture.
QImage redBand()
{
    QImage image(6, 2, QImage::Format_ARGB32);
    image.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}
} // namespace

TEST_F(BitmapCommands, CropSavesAndReloadsEveryRowEvenWhenNothingIsVisible)
{
    QImage block(10, 8, QImage::Format_ARGB32);
    block.fill(Qt::transparent);
    block.setPixel(3, 2, qRgb(1, 2, 3));
    QImage clear(5, 5, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    CBitmapItem* visible = add(block);
    CBitmapItem* invisible = add(clear);
    EXPECT_EQ(CBitmapCommands::cropToAlphaChannel(*m_holder, {1, 0, 7}), 2);
    EXPECT_EQ(visible->width(), 1.0);
    EXPECT_EQ(visible->offsetX(), 3.0);
    EXPECT_EQ(visible->offsetY(), 2.0);
    EXPECT_TRUE(visible->sourceBytes().startsWith("\x89PNG"));
    EXPECT_EQ(invisible->width(), 5.0);
    EXPECT_TRUE(invisible->sourceBytes().startsWith("\x89PNG"));
}

TEST_F(BitmapCommands, TransparentColourThenCrop)
{
    CBitmapItem* band = add(redBand());
    CBitmapItem* empty = dynamic_cast<CBitmapItem*>(m_holder->get(GroupBitmaps, m_holder->newItem(GroupBitmaps, "e")));
    EXPECT_EQ(CBitmapCommands::setAlphaChannelToColor(*m_holder, {0, 1}, 0x0000FF), 1);
    EXPECT_EQ(band->width(), 4.0);
    EXPECT_EQ(band->offsetX(), 2.0);
    EXPECT_EQ(band->pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(empty->kind(), CDisplayBuffer::Empty);
}

TEST_F(BitmapCommands, ReloadKeepsIdCommentsAndOffsets)
{
    TempFolder files;
    writeAll(files.path("new.png"), encode(quarters(3, 5), "png"));
    const int row = m_holder->newItem(GroupBitmaps, "fresh");
    auto* item = dynamic_cast<CBitmapItem*>(m_holder->get(GroupBitmaps, row));
    item->setComments("c");
    item->setOffsetX(9);
    ASSERT_EQ(CBitmapCommands::reloadImageSource(*m_holder, row, files.path("new.png")), 1) << "an empty row loads as an image";
    EXPECT_EQ(item->kind(), CDisplayBuffer::GdiPlusImage);
    EXPECT_EQ(item->width(), 3.0);
    EXPECT_EQ(item->id(), "fresh");
    EXPECT_EQ(item->comments(), "c");
    EXPECT_EQ(item->offsetX(), 9.0);
    EXPECT_EQ(item->sourceFilename(), files.path("new.png"));
    EXPECT_EQ(CBitmapCommands::reloadImageSource(*m_holder, row + 1, files.path("new.png")), 0);
    EXPECT_EQ(CBitmapCommands::reloadImageSource(*m_holder, row, files.path("absent.png")), 0);
    EXPECT_EQ(item->kind(), CDisplayBuffer::GdiPlusImage) << "a failed reload keeps the picture";
    EXPECT_EQ(item->sourceFilename(), files.path("new.png"));
}

// Without a temporary file the picture cannot go through a PNG; what the
// command did must still be what a save keeps, not the old source with the
// new offsets.
TEST_F(BitmapCommands, CropWithoutTemporaryFileStillSavesWhatIsShown)
{
    TempFolder files;
    const QByteArray temp = qgetenv("TEMP");
    const QByteArray tmpdir = qgetenv("TMPDIR");
    // A file where the folder should be: no temporary file can be made
    // there, whoever runs the test.
    const std::string nowhere = files.path("not-a-folder");
    writeAll(nowhere, QByteArray("x"));
    QImage framed(10, 8, QImage::Format_ARGB32);
    framed.fill(Qt::transparent);
    framed.setPixel(3, 2, qRgb(1, 2, 3));
    framed.setPixel(4, 3, qRgb(1, 2, 3));
    CBitmapItem* item = add(framed);
    item->setSourceBytes(encode(framed, "png"));
    qputenv("TEMP", QByteArray::fromStdString(nowhere));
    qputenv("TMPDIR", QByteArray::fromStdString(nowhere));
    const int changed = CBitmapCommands::cropToAlphaChannel(*m_holder, {0});
    qputenv("TEMP", temp);
    qputenv("TMPDIR", tmpdir);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(item->offsetX(), 3.0);
    EXPECT_EQ(item->width(), 2.0);

    const std::string path = files.path("cropped.mrc");
    ASSERT_EQ(m_holder->save(path), 1);
    auto reopened = createDocumentHolder();
    ASSERT_EQ(reopened->load(path), 1);
    const auto* again = dynamic_cast<CBitmapItem*>(reopened->get(GroupBitmaps, 0));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->offsetX(), 3.0);
    EXPECT_EQ(again->imageView().size(), QSize(2, 2)) << "the cropped picture is the one saved";
}

// A folder stands for its pictures, and pictures come in natural order.
TEST(BitmapInsertion, FoldersAndManyFilesComeInByNameWithNumbersInOrder)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    for (const char* name : {"walk10.png", "Walk2.png", "walk1.png", "sub/walk3.png"}) {
        QImage picture(4, 4, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(folder.filePath(QString::fromLatin1(name))));
    }
    QFile notes(folder.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    auto holder = createDocumentHolder();
    const std::vector<int> rows = CBitmapInsertion::insertImages(
        *holder, {folder.filePath(QStringLiteral("walk10.png")).toStdString(), folder.path().toStdString()});
    std::vector<std::string> ids;
    for (const int row : rows)
        ids.push_back(holder->get(GroupBitmaps, row)->id());
    EXPECT_EQ(ids, (std::vector<std::string>{"walk1", "Walk2", "walk10", "walk10"}));
}
