#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/userinterfaces/CPictureRef.h"
#include "kinds/userinterfaces/ui/CBitmapPicture.h"
#include "media/image/CDisplayBuffer.h"
#include "params/ui/CPictureButton.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {
QImage filled(QColor colour, int w = 8, int h = 8)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

QColor at(const QImage& shot, QPoint p)
{
    return shot.pixelColor(p);
}

struct PictureButtonFixture : ::testing::Test {
    PictureButtonFixture()
    {
        button.setText("Go");
        button.setPictures(
            {filled(Qt::red), filled(Qt::blue, 10, 6), filled(Qt::green, 4, 4), filled(Qt::yellow, 4, 4)});
        button.resize(button.sizeHint() + QSize(20, 10));
    }
    CPictureButton button;
};
} // namespace

TEST_F(PictureButtonFixture, PictureTitleAndRightPictureGoLeftToRightCentred)
{
    const CPictureButton::Placement p = button.placement();
    ASSERT_FALSE(p.image.isEmpty());
    ASSERT_FALSE(p.title.isEmpty());
    ASSERT_FALSE(p.imageRight.isEmpty());
    EXPECT_LT(p.image.right(), p.title.left());
    EXPECT_LT(p.title.right(), p.imageRight.left());
    EXPECT_EQ(p.imageRight.size(), QSize(10, 6));
    // As much room on the left of the picture as on the right of the right-hand one.
    EXPECT_LE(std::abs(p.image.left() - (button.width() - 1 - p.imageRight.right())), 1);

    const QImage shot = button.grab().toImage();
    EXPECT_EQ(at(shot, p.image.center()), QColor(Qt::red));
    EXPECT_EQ(at(shot, p.imageRight.center()), QColor(Qt::blue));
    // The up background is stretched over the whole button, corners included.
    EXPECT_EQ(at(shot, {1, 1}), QColor(Qt::green));
    EXPECT_EQ(at(shot, {button.width() - 2, button.height() - 2}), QColor(Qt::green));
    // No frame without the border.
    EXPECT_EQ(at(shot, {0, button.height() / 2}), QColor(Qt::green));
}

TEST_F(PictureButtonFixture, DownBackgroundWhilePressedOrCheckedAndFrameOnlyWithBorder)
{
    button.setDown(true);
    QImage shot = button.grab().toImage();
    EXPECT_EQ(at(shot, {1, 1}), QColor(Qt::yellow));
    EXPECT_EQ(at(shot, button.placement().image.center()), QColor(Qt::red));

    button.setDown(false);
    button.setCheckable(true);
    button.setChecked(true);
    EXPECT_EQ(at(button.grab().toImage(), {1, 1}), QColor(Qt::yellow));
    button.setChecked(false);
    EXPECT_EQ(at(button.grab().toImage(), {1, 1}), QColor(Qt::green));

    button.setBorder(true);
    shot = button.grab().toImage();
    EXPECT_NE(at(shot, {0, button.height() / 2}), QColor(Qt::green));
    EXPECT_NE(at(shot, {button.width() - 1, button.height() / 2}), QColor(Qt::green));
    EXPECT_EQ(at(shot, {3, 3}), QColor(Qt::green));

    // Without a down picture the up one stays while pressed.
    button.setPictures({filled(Qt::red), {}, filled(Qt::green, 4, 4), {}});
    button.setDown(true);
    EXPECT_EQ(at(button.grab().toImage(), {3, 3}), QColor(Qt::green));
}

TEST(PictureButton, SizeFollowsPicturesAndPlainButtonsStayPushButtons)
{
    CPictureButton plain;
    plain.setText("A long title for a button");
    CPictureButton pictured;
    pictured.setText("A long title for a button");
    pictured.setPictures({filled(Qt::red, 30, 40), {}, {}, {}});
    EXPECT_GE(pictured.sizeHint().height(), 40 + 2 * CPictureButton::kMargin);
    EXPECT_GE(pictured.sizeHint().width(), plain.fontMetrics().horizontalAdvance("A long title for a button") + 30);
    // A background bigger than the content sets the size.
    pictured.setPictures({{}, {}, filled(Qt::green, 120, 50), {}});
    EXPECT_GE(pictured.sizeHint().width(), 120);
    EXPECT_EQ(pictured.sizeHint().height(), 50);

    EXPECT_GE(plain.sizeHint().width(), plain.fontMetrics().horizontalAdvance("A long title for a button"));
    plain.resize(plain.sizeHint());
    EXPECT_FALSE(plain.grab().isNull());
    EXPECT_TRUE(plain.placement().image.isEmpty());
}

// A reference keeps the bitmap's row from when it was made; after rows move
// the ID decides.
TEST(BitmapPicture, RememberedRowIsUsedOnlyWhileItStillHasTheId)
{
    CResourceHolder holder(&createKindPrototype);
    for (auto [id, colour] : {std::pair{"red", Qt::red}, std::pair{"blue", Qt::blue}}) {
        const int row = holder.newItem(GroupBitmaps, id);
        ASSERT_TRUE(dynamic_cast<CDisplayBuffer*>(holder.get(GroupBitmaps, row))->attachImage(filled(colour)));
    }
    EXPECT_EQ(CBitmapPicture::of(holder, {"red", 0}).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(CBitmapPicture::of(holder, {"blue", 0}).pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(CBitmapPicture::of(holder, {"blue", -1}).pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(CBitmapPicture::of(holder, {"red", 7}).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_TRUE(CBitmapPicture::of(holder, {"gone", 0}).isNull());
    EXPECT_TRUE(CBitmapPicture::of(holder, {"", 0}).isNull());
}
