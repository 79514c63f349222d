#pragma once

#include <ctime>
#include <functional>
#include <mutex>
#include <string>

// The job log of a long task: the text of the current job, and the log of
// earlier jobs kept in a file beside the program. The worker writes into it
// while the interface thread reads it for the log box, so every member is
// behind one lock; the change callback runs on the writing thread, outside
// the lock, and must hand over to its own thread if it touches windows.
class CTaskLog {
public:
    static constexpr int kMinimumLimit = 64;
    static constexpr const char* kDefaultFileName = "TasksDone.log";
    static constexpr const char* kTruncatedMark = "...Log Truncated...";

    CTaskLog();

    // A name without a folder goes beside the program, or into the user's
    // data folder when the program's folder is not writable.
    void setLogFileName(const std::string& name);
    std::string logFilePath() const;

    // Empties the earlier log, takes the options (the limit is at least 64
    // characters) and turns writing the file on. Unless told not to read,
    // the earlier log is read from the file; a missing or unreadable file
    // leaves it empty.
    void setLogOptions(bool showPrevious, bool doNotRead, int limit);
    // Forgets the earlier log and stops writing the file.
    void disableLogFile();

    void setLogText(const std::string& text);
    void append(const std::string& text);
    // The format holds one "%s" for the current time text.
    void logWithTime(const std::string& format);
    void logWithTime(const std::string& format, const std::tm& when);

    std::string currentText() const;
    std::string previousText() const;
    // What the log box shows: the earlier log when it is shown, then this job.
    std::string displayedText() const;

    bool logToFile() const;
    bool showPrevious() const;
    bool doNotRead() const;
    int limit() const;

    // When writing is on: earlier log + this job, cut to its last `limit`
    // characters behind the truncation mark, is saved as one archived string;
    // both texts are then emptied. Errors are ignored (returns 0), as a log
    // must never stop a task's results from being kept.
    int writeLogFile();

    // The text as it will be stored, from the earlier and current texts.
    static std::string storedText(const std::string& previous, const std::string& current, int limit);

    void setChangeCallback(std::function<void()> callback);

private:
    void changed();

    mutable std::mutex m_mutex;
    std::string m_previous;
    std::string m_current;
    std::string m_path;
    bool m_logToFile = false;
    bool m_showPrevious = true;
    bool m_doNotRead = false;
    int m_limit = 1000;
    std::function<void()> m_onChange;
};
