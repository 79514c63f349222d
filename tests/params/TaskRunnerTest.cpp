#include "params/CTaskRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

using namespace std::chrono_literals;

namespace {
// A task that keeps making progress until it is aborted.
void countUntilAborted(CTaskRunner& runner)
{
    runner.setMaximum(1e12);
    for (double i = 0; !runner.isAborted(); ++i) {
        runner.setCurrent(i);
        std::this_thread::sleep_for(100us);
    }
    runner.log().append("stopped\r\n");
}

bool waitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}
} // namespace

TEST(TaskRunner, RunsTheTaskAndEndsAtFullProgress)
{
    CTaskRunner runner;
    EXPECT_EQ(runner.statusLine(), "Working...");
    EXPECT_EQ(runner.taskTitle(), "Performing Requested Task");
    std::atomic<bool> release{false};
    std::atomic<int> endedCalls{0};
    std::atomic<bool> endedAutoClose{true};
    runner.setAutoClose(false);
    runner.setEndedCallback([&](bool autoClose) {
        endedAutoClose = autoClose;
        ++endedCalls;
    });
    runner.setTask([&](CTaskRunner& r) {
        r.setTaskTitle("Convert");
        r.setMaximum(50);
        r.setCurrent(10);
        while (!release)
            std::this_thread::sleep_for(1ms);
        r.setStatusLine("Done");
    });
    ASSERT_EQ(runner.start(), 1);
    EXPECT_EQ(runner.start(), 0); // one task at a time
    ASSERT_TRUE(waitFor([&] { return runner.current() == 10; }));
    EXPECT_EQ(runner.percentText(), "20.00 %");
    EXPECT_EQ(runner.state(), CTaskRunner::Running);
    EXPECT_EQ(runner.requestClose(), 0); // Escape does nothing while it runs
    release = true;
    runner.wait();
    EXPECT_EQ(runner.state(), CTaskRunner::Ended);
    EXPECT_EQ(runner.requestClose(), 1);
    EXPECT_FALSE(runner.hasWorker());
    EXPECT_EQ(runner.current(), 50);
    EXPECT_EQ(runner.previous(), -1.0);
    EXPECT_EQ(runner.percentText(), "100.00 %");
    EXPECT_EQ(runner.taskTitle(), "Convert");
    EXPECT_EQ(runner.statusLine(), "Done");
    EXPECT_EQ(endedCalls, 1);
    EXPECT_FALSE(endedAutoClose);
    EXPECT_FALSE(runner.isAborted());
}

TEST(TaskRunner, PauseHoldsTheWorkerAtItsProgressPoints)
{
    CTaskRunner runner;
    runner.setTask(countUntilAborted);
    EXPECT_EQ(runner.pause(), 0); // no worker yet
    ASSERT_EQ(runner.start(), 1);
    ASSERT_TRUE(waitFor([&] { return runner.current() > 5; }));
    ASSERT_EQ(runner.pause(), 1);
    EXPECT_TRUE(runner.isPaused());
    std::this_thread::sleep_for(20ms); // let it reach its next progress point
    const double held = runner.current();
    std::this_thread::sleep_for(50ms);
    EXPECT_LE(runner.current(), held + 1); // at most the step it was in
    ASSERT_EQ(runner.resume(), 1);
    EXPECT_EQ(runner.resume(), 0);
    ASSERT_TRUE(waitFor([&] { return runner.current() > held + 5; }));

    // Abort while paused lets the worker go so that it sees the flag.
    ASSERT_EQ(runner.pause(), 1);
    runner.abort();
    EXPECT_FALSE(runner.isPaused());
    runner.wait();
    EXPECT_TRUE(runner.isAborted());
    EXPECT_EQ(runner.state(), CTaskRunner::Ended);
    EXPECT_EQ(runner.log().currentText(), "stopped\r\n");
}

TEST(TaskRunner, PausedTimeIsNotElapsedTime)
{
    std::atomic<std::int64_t> clock{1000};
    CTaskRunner runner([&] { return clock.load(); });
    runner.setTask(countUntilAborted);
    ASSERT_EQ(runner.start(), 1);
    clock = 1500;
    ASSERT_EQ(runner.pause(), 1);
    clock = 4500; // three seconds paused
    ASSERT_EQ(runner.resume(), 1);
    clock = 5000;
    EXPECT_EQ(runner.elapsedMs(), 1000);
    EXPECT_EQ(runner.refreshTimeLabels().elapsed, "Elapsed Time :   0h : 00m : 01s");
    runner.abort();
    runner.wait();
}

TEST(TaskRunner, EstimatesMoveOnlyWithTheProgress)
{
    // Driven from the test thread: no worker, so nothing pauses.
    std::atomic<std::int64_t> clock{0};
    CTaskRunner runner([&] { return clock.load(); });
    runner.setMaximum(100);
    runner.setCurrent(0);
    runner.restartTiming();
    EXPECT_EQ(runner.previous(), -1.0);
    clock = 1000;
    runner.setCurrent(25);
    auto labels = runner.refreshTimeLabels();
    EXPECT_TRUE(labels.progressChanged);
    EXPECT_EQ(labels.total, "Total Time :   0h : 00m : 04s");
    EXPECT_EQ(labels.remaining, "Time Remaining :   0h : 00m : 03s");

    clock = 2000; // no progress: only the elapsed time moves
    labels = runner.refreshTimeLabels();
    EXPECT_FALSE(labels.progressChanged);
    EXPECT_EQ(labels.elapsed, "Elapsed Time :   0h : 00m : 02s");
    EXPECT_EQ(labels.total, "Total Time :   0h : 00m : 04s");
    EXPECT_EQ(labels.remaining, "Time Remaining :   0h : 00m : 03s");

    runner.setCurrent(50);
    labels = runner.refreshTimeLabels();
    EXPECT_EQ(labels.total, "Total Time :   0h : 00m : 04s");
    EXPECT_EQ(labels.remaining, "Time Remaining :   0h : 00m : 02s");

    runner.setShowEstimates(false);
    clock = 3000;
    runner.setCurrent(60);
    labels = runner.refreshTimeLabels();
    EXPECT_TRUE(labels.progressChanged);
    EXPECT_EQ(labels.remaining, "Time Remaining :   0h : 00m : 02s");
}

TEST(TaskRunner, DemonstrationTaskLogsItsJobAndStopsOnAbort)
{
    CTaskRunner runner;
    runner.setTask([](CTaskRunner& r) { CTaskRunner::demonstrationTask(r, 0ms); });
    ASSERT_EQ(runner.start(), 1);
    runner.wait();
    runner.log().disableLogFile(); // keep the test from writing beside the program
    const std::string text = runner.log().currentText();
    EXPECT_EQ(text.rfind("Job Started at ", 0), 0u);
    EXPECT_NE(text.find("Job Ended at "), std::string::npos);
    std::size_t steps = 0;
    for (std::size_t at = text.find("        Done One Step.\r\n"); at != std::string::npos;
         at = text.find("        Done One Step.\r\n", at + 1))
        ++steps;
    EXPECT_EQ(steps, 10u);
    EXPECT_EQ(runner.maximum(), 999);
    EXPECT_EQ(runner.taskTitle(), "Extract Left && Right Audio Channels");
    EXPECT_EQ(runner.log().limit(), 500);

    CTaskRunner aborted;
    aborted.setTask([](CTaskRunner& r) { CTaskRunner::demonstrationTask(r, 5ms); });
    ASSERT_EQ(aborted.start(), 1);
    ASSERT_TRUE(waitFor([&] { return aborted.current() > 2; }));
    aborted.abort();
    aborted.wait();
    aborted.log().disableLogFile();
    const std::string log = aborted.log().currentText();
    EXPECT_NE(log.find("*** Job Aborted at "), std::string::npos);
    EXPECT_EQ(log.find("Job Ended at "), std::string::npos);
}

TEST(TaskRunner, ThrowingTaskIsReportedInTheLog)
{
    CTaskRunner runner;
    runner.setTask([](CTaskRunner&) { throw std::runtime_error("disk gone"); });
    ASSERT_EQ(runner.start(), 1);
    runner.wait();
    EXPECT_EQ(runner.log().currentText(), "*** ERROR: disk gone\r\n");
    EXPECT_TRUE(runner.isAborted());
    EXPECT_EQ(runner.state(), CTaskRunner::Ended);
}

TEST(TaskRunner, DestroyingARunningRunnerStopsItsWorker)
{
    auto runner = std::make_unique<CTaskRunner>();
    runner->setTask(countUntilAborted);
    ASSERT_EQ(runner->start(), 1);
    ASSERT_TRUE(runner->pause());
    runner.reset(); // must neither hang on the paused worker nor leave it running
    SUCCEED();
}
