#include "core/CGameStepTimer.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {
struct Setting : CResourceItem {
    std::string text;
    std::unique_ptr<CResourceItem> createDefault() const override { return std::make_unique<Setting>(); }
    const std::string* parameterText() const override { return &text; }
};

int delayWith(const char* value)
{
    CResourceHolder h([](int) { return std::make_unique<Setting>(); });
    if (value)
        static_cast<Setting*>(h.get(GroupTexts, h.newItem(GroupTexts, "settings_one_game_step_delay")))->text = value;
    return CGameStepTimer::delayFor(h);
}

template <typename Pred>
bool eventually(Pred pred)
{
    for (int i = 0; i < 2000 && !pred(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return pred();
}
} // namespace

TEST(GameStepTimer, DelayComesFromTheDocumentSetting)
{
    EXPECT_EQ(delayWith(nullptr), 8);
    EXPECT_EQ(delayWith("20"), 20);
    EXPECT_EQ(delayWith("0"), 1);
    EXPECT_EQ(delayWith("-5"), 1);
}

TEST(GameStepTimer, StepsOnItsOwnThreadUntilStopped)
{
    CGameStepTimer timer;
    std::atomic<int> steps{0};
    std::atomic<bool> onOtherThread{false};
    const auto ui = std::this_thread::get_id();
    ASSERT_TRUE(timer.start(1, [&] {
        onOtherThread = std::this_thread::get_id() != ui;
        ++steps;
        return false;
    }));
    EXPECT_TRUE(timer.isRunning());
    EXPECT_TRUE(eventually([&] { return steps >= 5; }));
    EXPECT_TRUE(onOtherThread);
    timer.stop();
    EXPECT_FALSE(timer.isRunning());
    const int after = steps;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(steps, after) << "no step after stop";
    EXPECT_FALSE(timer.takeStepPending()) << "steps that change nothing ask for no repaint";
}

TEST(GameStepTimer, ChangingStepsAreCollectedIntoOneRepaint)
{
    CGameStepTimer timer;
    std::atomic<int> steps{0};
    timer.start(1, [&] {
        ++steps;
        return true;
    });
    EXPECT_TRUE(eventually([&] { return steps >= 3; }));
    timer.stop();
    EXPECT_TRUE(timer.takeStepPending());
    EXPECT_FALSE(timer.takeStepPending());
}

TEST(GameStepTimer, RestartTakesTheNewDelay)
{
    CGameStepTimer timer;
    timer.start(50, [] { return false; });
    EXPECT_TRUE(timer.start(1, [] { return false; })) << "a running timer is left alone";
    EXPECT_EQ(timer.delay(), 50);
    timer.restart(true, true, 3, [] { return false; });
    EXPECT_EQ(timer.delay(), 3);
    EXPECT_TRUE(timer.isRunning());
    timer.restart(true, false, 3, {});
    EXPECT_FALSE(timer.isRunning());
}
