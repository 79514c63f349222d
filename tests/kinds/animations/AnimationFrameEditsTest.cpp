#include "core/CDocumentHistory.h"
#include "core/CGameStepTimer.h"
#include "core/CResourceHolder.h"
#include "core/CStepLock.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationFrameEdits.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/CAnimationPreview.h"
#include "media/image/CDisplayBuffer.h"

#include <QUndoStack>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// A drag puts one frame elsewhere and closes the gap; the previous frame of
// the onion skin follows the direction of play and wraps around.
TEST(AnimationFrameEdits, DragMovesOneFrameAndOnionSkinLooksBack)
{
    struct Case {
        int from, to;
        std::vector<int> bitmaps;
    };
    for (const Case& c : {Case{0, 3, {1, 2, 3, 0}}, Case{3, 1, {0, 3, 1, 2}}, Case{2, 2, {0, 1, 2, 3}},
                          Case{4, 0, {0, 1, 2, 3}}}) {
        CAnimationItem a;
        for (int b = 0; b < 4; ++b)
            a.addFrame(b, b + 1, b * 10, -b);
        CStepLock lock;
        const auto outcome = CAnimationFrameEdits(lock).moveFrame(a, c.from, c.to);
        // Delays and offsets travel with their frame.
        std::vector<CAnimationFrame> expected;
        for (int b : c.bitmaps)
            expected.push_back({b, b + 1, b * 10, -b});
        EXPECT_EQ(a.frames(), expected) << c.from << " to " << c.to;
        EXPECT_EQ(outcome.changed, c.from != c.to && c.from < 4);
    }

    auto holder = createDocumentHolder();
    auto* a = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, holder->newItem(GroupAnimations, "a")));
    CAnimationCursor cursor;
    cursor.setDocument(holder.get());
    cursor.setAnimationIndex(0);
    EXPECT_EQ(CAnimationPreview::previousFrame(cursor), -1);
    for (int b = 0; b < 3; ++b)
        a->addFrame(b);
    for (const auto& [frame, forward, previous] : {std::tuple{0, 1, 2}, {2, 1, 1}, {2, 0, 0}, {0, 0, 1}}) {
        cursor.setFrameIndex(frame);
        cursor.setDirection(forward);
        EXPECT_EQ(CAnimationPreview::previousFrame(cursor), previous) << frame << (forward ? " forward" : " backward");
    }
}

// The preview steps only while shown; a held frame stays for its 125 steps.
TEST(AnimationFrameEdits, PreviewStepsWhileShownAndHoldsAFrame)
{
    auto holder = createDocumentHolder();
    auto* a = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, holder->newItem(GroupAnimations, "a")));
    for (int b = 0; b < 3; ++b)
        a->addFrame(b, 2);
    CAnimationPreview preview;
    preview.setDocument(holder.get());
    preview.restart(0);
    EXPECT_FALSE(preview.step()) << "hidden";
    EXPECT_EQ(preview.cursor().remaining(), 2.0);
    preview.setShown(true);
    preview.hold(2);
    for (int s = 0; s < 125; ++s)
        ASSERT_TRUE(preview.step());
    EXPECT_EQ(preview.cursor().frameIndex(), 2);
    preview.step();
    EXPECT_EQ(preview.cursor().frameIndex(), 0) << "play resumes after the hold";

    CDisplayBuffer picture;
    preview.render(picture, QSize(120, 100), {Qt::white, Qt::red, Qt::black}, "0.00 Fps");
    EXPECT_EQ(picture.kind(), CDisplayBuffer::DibBitmap32);
    EXPECT_EQ(picture.actualWidth(), 120);
    EXPECT_EQ(picture.pixel(CAnimationPreview::kStartOrigin, 5), 0x0000FFu) << "the vertical guide line";
    EXPECT_EQ(picture.pixel(110, CAnimationPreview::kStartOrigin), 0x0000FFu) << "the horizontal guide line";
    EXPECT_EQ(picture.pixel(110, 5), 0xFFFFFFu);
}

namespace {
// A three-frame animation whose preview the timer thread steps every
// millisecond through the panel's step lock, while the test edits it.
struct RacedAnimation {
    RacedAnimation()
    {
        a = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, holder->newItem(GroupAnimations, "a")));
        for (int b = 0; b < 3; ++b)
            a->addFrame(b);
        preview.setDocument(holder.get());
        preview.setShown(true);
        preview.restart(0);
        started = timer.start(1, [this] {
            const bool moved = lock.runStep([this] { return preview.step(); });
            steps += moved ? 1 : 0;
            return moved;
        });
    }
    // Runs `round` until the timer has stepped between rounds often enough.
    void race(const std::function<void(int)>& round)
    {
        for (int r = 0; r < 1000000 && steps.load() < 50; ++r) {
            round(r);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        timer.stop();
    }

    std::unique_ptr<CResourceHolder> holder = createDocumentHolder();
    CAnimationItem* a = nullptr;
    CStepLock lock;
    CAnimationFrameEdits edits{lock};
    CAnimationPreview preview;
    std::atomic<long> steps{0};
    CGameStepTimer timer;
    bool started = false;
};
} // namespace

// Frame edits made on one thread while game steps run on the timer thread:
// every edit holds the panel's step lock, so the steps never read the frame
// list while it is resized (run under ThreadSanitizer with the threads label).
TEST(AnimationFrameEdits, EditsRacingGameSteps)
{
    RacedAnimation raced;
    ASSERT_TRUE(raced.started);
    CAnimationItem& a = *raced.a;
    raced.race([&](int round) {
        raced.edits.addFrames(a, {3, 4, 5, 6});
        raced.edits.run(a, CAnimationFrameEdits::Reverse, 0);
        raced.edits.run(a, CAnimationFrameEdits::IncrementAllDelays, 0);
        raced.edits.moveFrame(a, 0, a.frameCount() - 1);
        for (int k = 0; k < 4; ++k)
            raced.edits.run(a, CAnimationFrameEdits::Remove, 0);
        raced.edits.run(a, CAnimationFrameEdits::DecrementAllDelays, 0);
        raced.preview.hold(round % 3);
        (void)raced.preview.cursor();
    });
    EXPECT_GE(raced.steps.load(), 50);
    EXPECT_EQ(a.frameCount(), 3);
}

// Undo and redo rewrite an animation's frames from its recorded record while
// the timer thread steps the preview: the history applies its steps inside
// the same step lock the edits hold.
TEST(AnimationFrameEdits, UndoAndRedoRacingGameSteps)
{
    RacedAnimation raced;
    ASSERT_TRUE(raced.started);
    CDocumentHistory history(*raced.holder);
    history.setApplyWrapper([&raced](const std::function<void()>& apply) {
        CStepLock::CHold hold(raced.lock);
        apply();
    });
    raced.race([&](int) {
        {
            CDocumentHistory::Edit edit(&history, QStringLiteral("Add to List"));
            edit.touchRow(GroupAnimations, 0);
            raced.edits.addFrames(*raced.a, {3, 4, 5, 6, 7, 8});
        }
        history.stack().undo();
        history.stack().redo();
        history.stack().undo();
    });
    EXPECT_GE(raced.steps.load(), 50);
    EXPECT_EQ(raced.a->frameCount(), 3);
    EXPECT_EQ(raced.holder->get(GroupAnimations, 0), raced.a) << "undo reads the record back into the same item";
}
