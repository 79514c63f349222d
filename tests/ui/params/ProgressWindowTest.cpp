// The progress window driving real tasks on their worker thread: to the end,
// through Pause / Continue, through Abort, with auto-close, the minimised
// main window's caption and the job log carried over from the last run.
// Nothing here enters a modal loop: the window is shown and the events are
// processed until a condition holds or a deadline passes.
#include "params/ui/CProgressWindow.h"
#include "params/ui/CProgressWindowBar.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

namespace {
constexpr int kDeadlineMs = 20000;

// Each picture a plain colour, so that a button's icon tells which it got.
const std::map<std::string, QColor>& pictureColours()
{
    static const std::map<std::string, QColor> colours = {
        {"TaskProgressMinimize", QColor(10, 20, 30)},   {"TaskProgressPause", QColor(40, 50, 60)},
        {"TaskProgressContinue", QColor(70, 80, 90)},   {"TaskProgressClose", QColor(200, 0, 0)},
        {"TaskProgressEnded", QColor(0, 200, 0)},       {"TaskProgress", QColor(0, 0, 200)}};
    return colours;
}

QPixmap plainPicture(const std::string& id)
{
    const auto it = pictureColours().find(id);
    if (it == pictureColours().end())
        return {};
    QPixmap p(24, 24);
    p.fill(it->second);
    return p;
}

QColor iconColour(const QPushButton* button)
{
    return button->icon().pixmap(24, 24).toImage().pixelColor(12, 12);
}

// Counts through `count` steps like the tools do: it logs, polls the abort
// flag between steps and reports how it ended.
CTaskRunner::Task steppingTask(int count, int stepMs, const std::string& firstLine = {})
{
    return [=](CTaskRunner& r) {
        if (!firstLine.empty())
            r.log().append(firstLine);
        r.log().logWithTime("Job Started at %s\r\n");
        r.setTaskTitle("Counting Steps");
        r.setStatusLine("Stepping...");
        r.setCurrent(0);
        r.setMinimum(0);
        r.setMaximum(count - 1);
        r.restartTiming();
        for (int i = 0; i < count; ++i) {
            r.setCurrent(i);
            if (r.isAborted()) {
                r.log().logWithTime("*** Job Aborted at %s\r\n\r\n");
                r.setStatusLine("Aborted");
                return;
            }
            if (i % 10 == 0)
                r.log().append("        Done One Step.\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
        }
        r.setStatusLine("Done");
        r.log().logWithTime("Job Ended at %s\r\n\r\n");
    };
}

bool waitFor(const std::function<bool()>& condition, int ms = kDeadlineMs)
{
    return QTest::qWaitFor(condition, ms);
}

void settle(int ms)
{
    QTest::qWait(ms);
}

void expectRunningButtons(const CProgressWindow& w)
{
    EXPECT_TRUE(w.minimizeButton()->isEnabled());
    EXPECT_TRUE(w.pauseButton()->isEnabled());
    EXPECT_FALSE(w.continueButton()->isEnabled());
    EXPECT_TRUE(w.abortButton()->isEnabled());
    EXPECT_FALSE(w.abortButton()->isHidden());
    EXPECT_FALSE(w.closeButton()->isEnabled());
    EXPECT_TRUE(w.closeButton()->isHidden());
}

void expectEndedButtons(const CProgressWindow& w, const QColor& closePicture)
{
    EXPECT_TRUE(w.abortButton()->isHidden());
    EXPECT_FALSE(w.pauseButton()->isEnabled());
    EXPECT_FALSE(w.continueButton()->isEnabled());
    EXPECT_TRUE(w.closeButton()->isEnabled());
    EXPECT_FALSE(w.closeButton()->isHidden());
    EXPECT_EQ(iconColour(w.closeButton()), closePicture);
    EXPECT_FALSE(w.isAnimating());
    const QImage shown = w.animationPicture().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), closePicture) << "no spinner after the end";
}

bool closeShown(const CProgressWindow& w)
{
    return !w.closeButton()->isHidden();
}
} // namespace

TEST(ProgressWindow, RunsATaskToTheEndAndClosesOnlyAfterIt)
{
    QWidget main;
    main.setWindowTitle("Main Window");
    CProgressWindow w(nullptr, &main, plainPicture);
    w.setTask(steppingTask(100, 3));
    w.setAutoClose(false);
    w.show();
    ASSERT_TRUE(w.isActive());
    expectRunningButtons(w);
    EXPECT_EQ(w.applicationCaption(), "Main Window");
    EXPECT_EQ(iconColour(w.abortButton()), pictureColours().at("TaskProgressClose"));
    EXPECT_TRUE(w.elapsedText().startsWith("Elapsed Time :   0h : 00m : 0"));

    // Escape, Enter and the window's own close do nothing while the task runs.
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());

    ASSERT_TRUE(waitFor([&] { return closeShown(w); }));
    expectEndedButtons(w, pictureColours().at("TaskProgressEnded"));
    EXPECT_EQ(w.bar()->percentText(), "100.00 %");
    EXPECT_EQ(w.remainingText(), "Time Remaining :   0h : 00m : 00s");
    EXPECT_TRUE(w.totalText().startsWith("Total Time :   0h : 00m : 0"));
    EXPECT_EQ(w.statusText(), "Done");
    EXPECT_EQ(w.titleText(), "Counting Steps");

    const QString log = w.logBoxText();
    EXPECT_TRUE(log.startsWith("Job Started at ")) << log.toStdString();
    EXPECT_EQ(log.count("        Done One Step.\n"), 10);
    EXPECT_TRUE(log.contains("Job Ended at ")) << log.toStdString();
    EXPECT_FALSE(log.contains('\r'));

    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(w.isActive());
}

TEST(ProgressWindow, PauseHoldsTheTaskAndContinueLetsItFinish)
{
    CProgressWindow w(nullptr, nullptr, plainPicture);
    w.setTask(steppingTask(300, 2));
    w.setAutoClose(false);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.runner().current() >= 5; }));

    QTest::mouseClick(w.pauseButton(), Qt::LeftButton);
    EXPECT_TRUE(w.continueButton()->isEnabled());
    EXPECT_FALSE(w.pauseButton()->isEnabled());
    EXPECT_FALSE(w.isAnimating());
    settle(60); // a step already past its progress point may still land
    const double heldAt = w.runner().current();
    const int frame = w.animationFrame();
    const std::string percent = w.bar()->percentText();
    settle(250);
    EXPECT_EQ(w.runner().current(), heldAt);
    EXPECT_EQ(w.animationFrame(), frame);
    EXPECT_EQ(w.bar()->percentText(), percent);
    EXPECT_TRUE(w.abortButton()->isEnabled());

    QTest::mouseClick(w.continueButton(), Qt::LeftButton);
    EXPECT_TRUE(w.pauseButton()->isEnabled());
    EXPECT_FALSE(w.continueButton()->isEnabled());
    EXPECT_TRUE(w.isAnimating());
    ASSERT_TRUE(waitFor([&] { return w.runner().current() > heldAt; }));

    ASSERT_TRUE(waitFor([&] { return closeShown(w); }));
    expectEndedButtons(w, pictureColours().at("TaskProgressEnded"));
    EXPECT_TRUE(w.logBoxText().contains("Job Ended at "));
    EXPECT_FALSE(w.logBoxText().contains("Aborted"));
}

TEST(ProgressWindow, AbortWhilePausedStopsTheTaskAndMarksTheClose)
{
    CProgressWindow w(nullptr, nullptr, plainPicture);
    w.setTask(steppingTask(5000, 2));
    w.setAutoClose(false);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.runner().current() >= 3; }));
    QTest::mouseClick(w.pauseButton(), Qt::LeftButton);
    ASSERT_TRUE(w.runner().isPaused());

    QTest::mouseClick(w.abortButton(), Qt::LeftButton);
    EXPECT_FALSE(w.abortButton()->isEnabled());
    EXPECT_FALSE(w.pauseButton()->isEnabled());
    EXPECT_FALSE(w.continueButton()->isEnabled());
    EXPECT_FALSE(w.runner().isPaused());

    ASSERT_TRUE(waitFor([&] { return closeShown(w); }));
    expectEndedButtons(w, pictureColours().at("TaskProgressClose"));
    EXPECT_EQ(w.bar()->percentText(), "100.00 %");
    EXPECT_EQ(w.statusText(), "Aborted");
    const QString log = w.logBoxText();
    EXPECT_TRUE(log.contains("*** Job Aborted at ")) << log.toStdString();
    EXPECT_FALSE(log.contains("Job Ended at "));

    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(ProgressWindow, AbortWhileRunningAndAutoClose)
{
    CProgressWindow w(nullptr, nullptr, plainPicture);
    w.setTask(steppingTask(5000, 2));
    w.show(); // auto-close stays on
    ASSERT_TRUE(waitFor([&] { return w.runner().current() >= 2; }));
    QTest::mouseClick(w.abortButton(), Qt::LeftButton);
    EXPECT_FALSE(w.pauseButton()->isEnabled());
    ASSERT_TRUE(waitFor([&] { return !w.isVisible(); }));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(w.logBoxText().contains("*** Job Aborted at "));
}

TEST(ProgressWindow, MinimisedMainWindowShowsThePercentage)
{
    QWidget main;
    main.setWindowTitle("Main Window");
    main.show();
    CProgressWindow w(&main, nullptr, plainPicture);
    w.setTask(steppingTask(400, 3));
    w.setAutoClose(false);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.runner().current() >= 2; }));

    QTest::mouseClick(w.minimizeButton(), Qt::LeftButton);
    EXPECT_TRUE(main.isMinimized());
    ASSERT_TRUE(waitFor([&] {
        const QString t = main.windowTitle();
        return t.endsWith(" % Main Window") && t != "0.00 % Main Window";
    }));
    EXPECT_EQ(w.applicationCaption(), "Main Window");

    // Coming back to the progress window brings the main window back.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    EXPECT_FALSE(main.isMinimized());
    EXPECT_EQ(main.windowTitle(), "Main Window");

    // Minimised again, the end of the task gives the caption back.
    QTest::mouseClick(w.minimizeButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return main.windowTitle().contains('%'); }));
    ASSERT_TRUE(waitFor([&] { return closeShown(w); }));
    EXPECT_EQ(main.windowTitle(), "Main Window");
}

TEST(ProgressWindow, EachRunLogsAFreshJobAfterTheEarlierOnes)
{
    TempFolder folder;
    const std::string path = folder.path("jobs.log");
    auto loggingTask = [&](const std::string& line) {
        CTaskRunner::Task steps = steppingTask(5, 1, line);
        return [=](CTaskRunner& r) {
            r.log().setLogFileName(path);
            r.log().setLogOptions(true, false, 500);
            steps(r);
        };
    };
    {
        CProgressWindow w(nullptr, nullptr, plainPicture);
        w.setTask(loggingTask("first job\r\n"));
        w.show();
        ASSERT_TRUE(waitFor([&] { return !w.isVisible(); }));

        // Shown again, the window runs the next job; the first one comes
        // back from the file as the earlier log, once.
        w.setTask(loggingTask("second job\r\n"));
        w.setAutoClose(false);
        w.show();
        ASSERT_TRUE(w.isActive());
        ASSERT_TRUE(waitFor([&] { return closeShown(w); }));
        const QString log = w.logBoxText();
        const auto firstAt = log.indexOf("first job");
        ASSERT_GE(firstAt, 0) << log.toStdString();
        EXPECT_GT(log.indexOf("second job"), firstAt) << log.toStdString();
        EXPECT_EQ(log.count("first job"), 1);
        EXPECT_EQ(log.count("Job Ended at "), 2);
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
    } // nothing is written over the log as the window goes
    const QByteArray stored = readAll(path);
    EXPECT_TRUE(stored.contains("first job"));
    EXPECT_TRUE(stored.contains("second job"));
}

TEST(ProgressWindow, AnEndNoticeLeftOverDoesNotEndTheNextRun)
{
    CProgressWindow w(nullptr, nullptr, plainPicture);
    w.setTask(steppingTask(3, 1));
    w.setAutoClose(false);
    w.show();
    // The task ends while no events are handled: its end notice waits in
    // the queue when the user closes the window and it is shown again.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
    while (w.runner().hasWorker() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(w.canClose());
    QTest::keyClick(&w, Qt::Key_Escape);
    ASSERT_FALSE(w.isVisible());

    w.setTask(steppingTask(5000, 2));
    w.show();
    settle(150);
    expectRunningButtons(w);
    EXPECT_TRUE(w.isAnimating());
    EXPECT_TRUE(w.isVisible());
    QTest::mouseClick(w.abortButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return closeShown(w); }));
    EXPECT_TRUE(w.logBoxText().contains("*** Job Aborted at "));
}

TEST(ProgressWindow, WindowGoingAwayMidTaskStopsItsWorker)
{
    std::atomic<bool> sawAbort{false};
    {
        CProgressWindow w(nullptr, nullptr, plainPicture);
        w.setTask([&](CTaskRunner& r) {
            r.setMaximum(1e9);
            for (int i = 0; !r.isAborted(); ++i) {
                r.setCurrent(i);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            sawAbort = true;
        });
        w.show();
        ASSERT_TRUE(waitFor([&] { return w.runner().current() >= 2; }));
        QTest::mouseClick(w.pauseButton(), Qt::LeftButton);
    } // paused, even: the window must let the worker go and wait for it
    EXPECT_TRUE(sawAbort);
}

TEST(ProgressWindowBar, SplitsAtTheShareDoneAndDarkensTheGradientEnds)
{
    EXPECT_EQ(CProgressWindowBar::splitPosition(10, 110, 0.0), 10);
    EXPECT_EQ(CProgressWindowBar::splitPosition(10, 110, 0.255), 36);
    EXPECT_EQ(CProgressWindowBar::splitPosition(10, 110, 1.0), 110);
    EXPECT_EQ(CProgressWindowBar::splitPosition(10, 110, 1.7), 110);
    EXPECT_EQ(CProgressWindowBar::scaled(QColor(128, 255, 0), 0.4), QColor(51, 102, 0));

    CProgressWindowBar bar;
    bar.setProgress(250, 0, 999);
    EXPECT_EQ(bar.percentText(), "25.03 %");
    bar.resize(200, 24);
    const QImage image = bar.grab().toImage();
    // Left of the split the done colour, right of it the (darker) rest.
    const QColor done = image.pixelColor(3, 3);
    const QColor rest = image.pixelColor(190, 3);
    EXPECT_GT(done.green(), rest.green());
}

TEST(Screenshots, ProgressWindowMidTask)
{
    const QString folder = qEnvironmentVariable("QUILLOP_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "QUILLOP_SCREENSHOTS is not set";
    // The interface pictures as drawn for the program, from the sources.
    const QDir images(QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath("../../data/interface/images"));
    auto pictures = [&](const std::string& id) { return QPixmap(images.filePath(QString::fromStdString(id) + ".png")); };

    QWidget main;
    main.setWindowTitle("Marvoline Quillop");
    CProgressWindow w(nullptr, &main, pictures);
    w.setTask(steppingTask(300, 10, "Job Started at 09:12:44 - Monday, March 03, 2025\r\n"
                                    "        Done One Step.\r\nJob Ended at 09:12:54 - Monday, March 03, 2025\r\n\r\n"));
    w.setAutoClose(false);
    w.resize(520, 420);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.runner().current() >= 120; }));
    QTest::mouseClick(w.pauseButton(), Qt::LeftButton);
    settle(120);
    ASSERT_TRUE(w.grab().save(QDir(folder).filePath("progress-window.png")));
    QTest::mouseClick(w.abortButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return closeShown(w); }));
    ASSERT_TRUE(w.grab().save(QDir(folder).filePath("progress-window-aborted.png")));
}
