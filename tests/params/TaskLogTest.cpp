#include "params/CTaskLog.h"
#include "params/CTaskProgressText.h"

#include "core/CArchive.h"
#include "support/ItemBytes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
QByteArray archivedText(const std::string& text)
{
    return archived([&](CArchive& ar) { ar.writeString(text); });
}

std::tm fixedTime() { return calendarTime(2024, 3, 5, 2, 14, 7, 9); }
} // namespace

TEST(TaskLog, LongLogIsTruncatedToItsLastCharacters)
{
    const std::string previous(700, 'p');
    std::string current;
    for (int i = 0; i < 500; ++i)
        current.push_back(static_cast<char>('a' + i % 26));
    const std::string stored = CTaskLog::storedText(previous, current, 500);
    EXPECT_EQ(stored, "...Log Truncated..." + current);
    EXPECT_EQ(CTaskLog::storedText("ab", "cd", 500), "abcd");
    EXPECT_EQ(CTaskLog::storedText("ab", "cde", 4), "...Log Truncated...bcde");
}

TEST(TaskLog, OptionsRaiseTheLimitAndDoNotReadHidesThePreviousLog)
{
    TempFolder dir;
    writeAll(dir.path("old.log"), archivedText("earlier job\r\n"));
    CTaskLog log;
    log.setLogFileName(dir.path("old.log"));
    log.setLogOptions(true, false, 10);
    EXPECT_EQ(log.limit(), 64);
    EXPECT_TRUE(log.logToFile());
    EXPECT_EQ(log.previousText(), "earlier job\r\n");
    log.append("now\r\n");
    EXPECT_EQ(log.displayedText(), "earlier job\r\nnow\r\n");

    log.setLogOptions(true, true, 5000);
    EXPECT_FALSE(log.showPrevious());
    EXPECT_EQ(log.previousText(), "");
    EXPECT_EQ(log.limit(), 5000);

    // Read but not shown: still kept for the file.
    log.setLogOptions(false, false, 1000);
    EXPECT_EQ(log.previousText(), "earlier job\r\n");
    EXPECT_EQ(log.displayedText(), "now\r\n");

    log.disableLogFile();
    EXPECT_FALSE(log.logToFile());
    EXPECT_EQ(log.previousText(), "");
    EXPECT_EQ(log.writeLogFile(), 0);
}

TEST(TaskLog, FileHoldsOneArchivedStringAndReadsBack)
{
    TempFolder dir;
    const std::string path = dir.path("TasksDone.log");
    {
        CTaskLog log;
        log.setLogFileName(path);
        log.setLogOptions(true, false, 1000); // missing file: nothing earlier
        EXPECT_EQ(log.previousText(), "");
        log.setLogText("first\r\n");
        log.logWithTime("Job Ended at %s\r\n", fixedTime());
        EXPECT_EQ(log.writeLogFile(), 1);
        EXPECT_EQ(log.currentText(), "");
    }
    const std::string expected = "first\r\nJob Ended at 14:07:09 - Tuesday, March 05, 2024\r\n";
    EXPECT_EQ(readAll(path), archivedText(expected));

    // A second job adds to it, and 300 characters use the longer length form.
    CTaskLog log;
    log.setLogFileName(path);
    log.setLogOptions(true, false, 1000);
    EXPECT_EQ(log.previousText(), expected);
    log.append(std::string(300, 'x'));
    EXPECT_EQ(log.writeLogFile(), 1);
    EXPECT_EQ(readAll(path), archivedText(expected + std::string(300, 'x')));
}

TEST(TaskLog, DamagedFileReadsAsEmpty)
{
    TempFolder dir;
    const std::string path = dir.path("bad.log");
    writeAll(path, QByteArray::fromHex("ffff7f" "6162")); // claims 32 767 bytes, holds 2
    CTaskLog log;
    log.setLogFileName(path);
    log.setLogOptions(true, false, 100);
    EXPECT_EQ(log.previousText(), "");
    writeAll(path, QByteArray());
    log.setLogOptions(true, false, 100);
    EXPECT_EQ(log.previousText(), "");
}

TEST(TaskProgressText, TimeLabelsAndPercentage)
{
    using T = CTaskProgressText;
    EXPECT_EQ(T::timeLabel(T::Label::Remaining, 3723004), "Time Remaining :   1h : 02m : 03s");
    EXPECT_EQ(T::timeLabel(T::Label::Total, 0), "Total Time :   0h : 00m : 00s");
    EXPECT_EQ(T::timeLabel(T::Label::Elapsed, 1000LL * 3600 * 123 + 59999), "Elapsed Time : 123h : 00m : 59s");
    EXPECT_EQ(T::percentText(25, 0, 100), "25.00 %");
    EXPECT_EQ(T::percentText(999, 0, 999), "100.00 %");
    EXPECT_EQ(T::percentText(1, 0, 3), "33.33 %");
    EXPECT_EQ(T::percentText(5, 5, 5), "0.00 %"); // empty range: no division by zero
    EXPECT_EQ(T::minimisedCaption(50, 0, 200, "Quillop"), "25.00 % Quillop");
}

TEST(TaskProgressText, EstimatesProjectFromTheShareDone)
{
    using T = CTaskProgressText;
    const auto e = T::estimate(1000, 25, 0, 100);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->totalMs, 4000);
    EXPECT_EQ(e->remainingMs, 3000);
    const auto r = T::estimate(1000, 3, 0, 8); // 2666.67 rounds to 2667
    ASSERT_TRUE(r);
    EXPECT_EQ(r->totalMs, 2667);
    EXPECT_FALSE(T::estimate(1000, 0, 0, 100));  // nothing done yet
    EXPECT_FALSE(T::estimate(1000, 10, 10, 10)); // empty range
    const auto tiny = T::estimate(1000000, 1e-9, 0, 1e9);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->totalMs, 1000000000000LL); // capped, no overflow
}

TEST(TaskProgressText, TimeIsPutInTheFormatSafely)
{
    using T = CTaskProgressText;
    EXPECT_EQ(T::withTime("Job Started at %s\r\n", "NOW"), "Job Started at NOW\r\n");
    EXPECT_EQ(T::withTime("%d %s %s 100%%", "NOW"), "%d NOW %s 100%");
    EXPECT_EQ(T::withTime("trailing %", "NOW"), "trailing %");
    EXPECT_EQ(T::timeText(calendarTime(1999, 12, 31, 5, 23, 59, 58)), "23:59:58 - Friday, December 31, 1999");
}
