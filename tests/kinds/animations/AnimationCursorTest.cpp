#include "core/CResourceHolder.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationCursor.h"
#include "kinds/animations/CAnimationItem.h"
#include "media/image/CDisplayBuffer.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {
constexpr int kStop = -100;  // marks "the step stopped the cursor" in a sequence

class AnimationCursorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        holder = createDocumentHolder();
        animation = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, holder->newItem(GroupAnimations, "a")));
        ASSERT_NE(animation, nullptr);
        cursor.setDocument(holder.get());
        cursor.setAnimationIndex(0);
    }

    void frames(std::initializer_list<int> delays)
    {
        int bitmap = 0;
        for (int d : delays)
            animation->addFrame(bitmap++, d);
    }

    // The frame after start, then after each step (kStop and the frame it
    // stopped on when a step reports a stop; nothing after that).
    std::vector<int> stepSequence(int mode, int steps)
    {
        animation->setPlayMode(mode);
        cursor.restart();
        std::vector<int> seen{cursor.frameIndex()};
        for (int i = 0; i < steps; ++i) {
            if (!cursor.step()) {
                EXPECT_EQ(cursor.playing(), 0);
                seen.push_back(kStop);
                seen.push_back(cursor.frameIndex());
                break;
            }
            seen.push_back(cursor.frameIndex());
        }
        return seen;
    }

    // The frame shown after each of `count` advances of one game step.
    std::vector<int> advanceSequence(int count)
    {
        std::vector<int> seen;
        for (int i = 0; i < count; ++i) {
            const bool playing = cursor.advance(1.0);
            seen.push_back(playing ? cursor.frameIndex() : kStop);
        }
        return seen;
    }

    std::unique_ptr<CResourceHolder> holder;
    CAnimationItem* animation = nullptr;
    CAnimationCursor cursor;
};

using V = std::vector<int>;
} // namespace

TEST_F(AnimationCursorTest, EveryPlayModeWithThreeFrames)
{
    frames({1, 1, 1});
    EXPECT_EQ(stepSequence(0, 6), (V{0, 1, 2, kStop, 2}));
    EXPECT_EQ(stepSequence(1, 6), (V{0, 1, 2, 0, 1, 2, 0}));
    EXPECT_EQ(stepSequence(2, 6), (V{0, 1, 2, 1, 0, kStop, 0}));
    // The ends of a ping-pong turn are shown once per turn.
    EXPECT_EQ(stepSequence(3, 7), (V{0, 1, 2, 1, 0, 1, 2, 1}));
    EXPECT_EQ(stepSequence(4, 6), (V{2, 1, 0, kStop, 0}));
    EXPECT_EQ(stepSequence(5, 6), (V{2, 1, 0, 2, 1, 0, 2}));
    EXPECT_EQ(stepSequence(6, 6), (V{2, 1, 0, 1, 2, kStop, 2}));
    EXPECT_EQ(stepSequence(7, 6), (V{2, 1, 0, 1, 2, 1, 0}));
}

TEST_F(AnimationCursorTest, TwoFramesAndOddCounts)
{
    frames({1, 1});
    EXPECT_EQ(stepSequence(2, 5), (V{0, 1, 0, kStop, 0}));
    EXPECT_EQ(stepSequence(3, 4), (V{0, 1, 0, 1, 0}));

    // A mode outside the table keeps the frame where it is.
    EXPECT_EQ(stepSequence(8, 3), (V{0, 0, 0, 0}));
    EXPECT_EQ(stepSequence(-1, 2), (V{0, 0, 0}));

    // Going backward in a forward loop turns it forward again at frame 0.
    animation->setPlayMode(1);
    cursor.restart();
    cursor.setDirection(0);
    cursor.setFrameIndex(0);
    EXPECT_TRUE(cursor.step());
    EXPECT_EQ(cursor.frameIndex(), 0);
    EXPECT_EQ(cursor.direction(), 1);
}

TEST_F(AnimationCursorTest, OneOrNoFrameNeverSteps)
{
    EXPECT_EQ(cursor.start(), 0);
    cursor.play();
    EXPECT_FALSE(cursor.advance(1.0));
    EXPECT_EQ(cursor.playing(), 0);

    frames({2});
    cursor.restart();
    EXPECT_EQ(cursor.remaining(), 2.0);
    EXPECT_EQ(advanceSequence(4), (V{0, 0, kStop, kStop}));
    EXPECT_EQ(cursor.frameIndex(), 0);

    // A cursor without a document or pointing at no animation stays quiet.
    CAnimationCursor lone;
    EXPECT_EQ(lone.start(), 0);
    EXPECT_FALSE(lone.step());
    EXPECT_EQ(lone.currentBitmapIndex(), -1);
    cursor.setAnimationIndex(5);
    EXPECT_EQ(cursor.currentBitmapIndex(), -1);
}

TEST_F(AnimationCursorTest, DelaysCountInGameSteps)
{
    frames({3, 1});
    animation->setPlayMode(1);
    cursor.restart();
    EXPECT_EQ(advanceSequence(9), (V{0, 0, 0, 1, 0, 0, 0, 1, 0}));

    // A "Once" mode ends stopped on its end frame; a restart plays it again.
    animation->setPlayMode(0);
    cursor.restart();
    EXPECT_EQ(advanceSequence(6), (V{0, 0, 0, 1, kStop, kStop}));
    EXPECT_EQ(cursor.frameIndex(), 1);
    cursor.restart();
    EXPECT_EQ(cursor.frameIndex(), 0);
    EXPECT_TRUE(cursor.advance(1.0));
}

TEST_F(AnimationCursorTest, DelaysOfZeroOrLessStillEndEveryAdvance)
{
    // From a file only; each such frame stays one game step.
    frames({0, -5, 0});
    for (int mode : {1, 3, 5, 7}) {
        animation->setPlayMode(mode);
        cursor.restart();
        const V seen = advanceSequence(6);
        for (int frame : seen)
            EXPECT_NE(frame, kStop);
        EXPECT_NE(seen[0], seen[1]) << "mode " << mode << ": every step shows the next frame";
    }
    // A time left that is not a number cannot keep an advance spinning.
    cursor.restart();
    cursor.setRemaining(std::nan(""));
    EXPECT_TRUE(cursor.advance(1.0));
    cursor.setRemaining(-INFINITY);
    EXPECT_TRUE(cursor.advance(1.0));
    EXPECT_TRUE(std::isfinite(cursor.remaining()));
    cursor.advance(std::nan(""));
    EXPECT_TRUE(std::isfinite(cursor.remaining()));
}

TEST_F(AnimationCursorTest, FrameIndexOutsideTheListWalksBackIn)
{
    frames({1, 1, 1});
    animation->setPlayMode(5);
    cursor.restart();
    // The list shrank under the cursor, or a caller set a wild index.
    cursor.setFrameIndex(1000000);
    EXPECT_EQ(cursor.currentBitmapIndex(), -1);
    EXPECT_EQ(cursor.currentOffsetX(), 0);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(cursor.advance(1.0));
    cursor.setFrameIndex(-1000000);
    cursor.setDirection(1);
    cursor.setRemaining(0);
    EXPECT_TRUE(cursor.advance(1.0));
    EXPECT_EQ(cursor.frameIndex(), -999999);
}

TEST_F(AnimationCursorTest, SeekWrapsBothWays)
{
    frames({2, 4, 2, 2});
    cursor.seek(5.5);
    EXPECT_EQ(cursor.frameIndex(), 1);
    EXPECT_DOUBLE_EQ(cursor.remaining(), 2.0);
    cursor.seek(-1.0);
    EXPECT_EQ(cursor.frameIndex(), 3);
    EXPECT_DOUBLE_EQ(cursor.remaining(), 0.0);
    cursor.seek(-6.5);
    EXPECT_EQ(cursor.frameIndex(), 1);
    EXPECT_DOUBLE_EQ(cursor.remaining(), 2.0);
    // Whole turns backward land on frame 0, not one past the last frame.
    cursor.seek(-4.0);
    EXPECT_EQ(cursor.frameIndex(), 0);
    cursor.seek(-8.0);
    EXPECT_EQ(cursor.frameIndex(), 0);
    cursor.seek(std::nan(""));
    cursor.seek(INFINITY);
    EXPECT_EQ(cursor.frameIndex(), 0);

    CAnimationCursor copy;
    copy.copyFrom(cursor);
    EXPECT_EQ(copy.document(), holder.get());
    EXPECT_EQ(copy.frameIndex(), cursor.frameIndex());
    EXPECT_EQ(copy.documentAnimations(), holder->group(GroupAnimations));
}

TEST_F(AnimationCursorTest, BothDrawingsPlaceTheFrameWithAllOffsets)
{
    auto bitmap = std::make_unique<CDisplayBuffer>();
    ASSERT_EQ(bitmap->create(CDisplayBuffer::DibBitmap32, 2, 2), 1);
    ASSERT_EQ(bitmap->fill(0x000000ff), 1);  // red
    bitmap->setOffsetX(3.0);
    bitmap->setOffsetY(-4.0);
    holder->group(GroupBitmaps)->add(std::move(bitmap));
    animation->addFrame(0, 1, 10, 20);
    animation->addFrame(7, 1, 0, 0);  // no such bitmap
    cursor.restart();
    EXPECT_EQ(cursor.currentOffsetX(), 10);
    EXPECT_EQ(cursor.currentOffsetY(), 20);

    auto render = [&](bool explicitOffsets, int& drawn) {
        QImage canvas(64, 64, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        drawn = explicitOffsets ? cursor.drawWithExplicitOffsets(painter, 5, 6) : cursor.draw(painter, 5, 6);
        painter.end();
        return canvas;
    };
    for (bool explicitOffsets : {true, false}) {
        int drawn = 0;
        const QImage canvas = render(explicitOffsets, drawn);
        EXPECT_EQ(drawn, 1);
        // 5 + 10 + 3 and 6 + 20 - 4.
        EXPECT_EQ(canvas.pixel(18, 22), qRgb(255, 0, 0)) << explicitOffsets;
        EXPECT_EQ(canvas.pixel(19, 23), qRgb(255, 0, 0));
        EXPECT_EQ(canvas.pixel(17, 22), qRgb(255, 255, 255));
        EXPECT_EQ(canvas.pixel(18, 21), qRgb(255, 255, 255));
        EXPECT_EQ(canvas.pixel(20, 24), qRgb(255, 255, 255));
    }

    // Only type 1 is drawn by the bitmap's own drawing; the other ignores the type.
    animation->setAnimationType(2);
    int drawn = -1;
    render(false, drawn);
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(render(true, drawn).pixel(18, 22), qRgb(255, 0, 0));

    // A frame whose bitmap is not a row draws nothing.
    animation->setAnimationType(1);
    cursor.setFrameIndex(1);
    EXPECT_EQ(cursor.currentBitmapIndex(), 7);
    const QImage none = render(true, drawn);
    EXPECT_EQ(drawn, 0);
    render(false, drawn);
    EXPECT_EQ(drawn, 0);
}
