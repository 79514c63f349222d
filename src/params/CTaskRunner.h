#pragma once

#include "params/CTaskLog.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Runs one long task on a worker thread while the interface thread watches
// it: progress values, elapsed and projected times, the job log, a status
// line and a title, and the Pause / Continue / Abort controls.
//
// Everything the two threads share is an atomic or sits behind a lock. Pause
// never suspends the thread from outside: the worker is held at its next
// progress update, where it holds no lock the interface thread needs.
class CTaskRunner {
public:
    using Task = std::function<void(CTaskRunner&)>;
    using Clock = std::function<std::int64_t()>; // milliseconds, never going back

    enum State { Running = 1, Ended = 2 };

    // What the 80 ms refresh has to show.
    struct TimeLabels {
        std::string elapsed;
        std::string total;     // last estimate; empty until there is one
        std::string remaining; // likewise
        bool progressChanged = false; // the bar needs repainting
    };

    explicit CTaskRunner(Clock clock = {});
    // Waits for the worker, then writes the log file when writing is on.
    ~CTaskRunner();

    CTaskRunner(const CTaskRunner&) = delete;
    CTaskRunner& operator=(const CTaskRunner&) = delete;

    // --- Set up by the tool, before start -------------------------------
    // An empty task runs the demonstration task.
    void setTask(Task task);
    void setAutoClose(bool on) { m_autoClose = on; }
    bool autoClose() const { return m_autoClose; }
    void setShowEstimates(bool on) { m_showEstimates = on; }
    bool showEstimates() const { return m_showEstimates; }
    // Called on the worker thread once the task is over and the state is
    // Ended (with the auto-close flag, so that the window knows whether to
    // close itself). A window posts this to its own thread.
    void setEndedCallback(std::function<void(bool autoClose)> callback) { m_onEnded = std::move(callback); }

    // Resets the progress, clears the abort flag, restarts timing and starts
    // the worker. 1 on success, 0 when a task already runs or no thread
    // could be started.
    int start();

    // --- Interface thread -------------------------------------------------
    // Pause and Continue act only while a worker exists (1 when they did).
    int pause();
    int resume();
    // Raises the abort flag; a paused worker is let go so that it sees it.
    void abort();
    // Close / Enter / Escape: only once the task has ended (1), never while
    // it runs (0).
    int requestClose() const { return state() == Ended ? 1 : 0; }
    // Blocks until the worker has finished.
    void wait();

    State state() const { return static_cast<State>(m_state.load()); }
    bool isPaused() const { return m_paused.load(); }
    bool hasWorker() const { return m_hasWorker.load(); }

    // The 80 ms refresh: elapsed time always, total and remaining only when
    // the progress moved since the last refresh (and estimates are shown).
    TimeLabels refreshTimeLabels();
    std::string percentText() const;
    std::int64_t elapsedMs() const;

    // --- Worker thread (the task) ------------------------------------------
    // The progress setters and restartTiming are the points where a paused
    // worker waits.
    void setCurrent(double value);
    void setMinimum(double value);
    void setMaximum(double value);
    // Start time := now; the last shown value is put one below the current
    // one so that the next refresh projects afresh.
    void restartTiming();
    bool isAborted() const { return m_abort.load() != 0; }
    void clearAbort() { m_abort.store(0); }
    void setStatusLine(const std::string& text);
    void setTaskTitle(const std::string& text);

    CTaskLog& log() { return m_log; }
    const CTaskLog& log() const { return m_log; }

    double current() const { return m_current.load(); }
    double previous() const { return m_previous.load(); }
    double minimum() const { return m_minimum.load(); }
    double maximum() const { return m_maximum.load(); }
    std::string statusLine() const;
    std::string taskTitle() const;

    // The task used when a tool sets none: a thousand 10 ms steps with a log.
    static void demonstrationTask(CTaskRunner& runner,
                                  std::chrono::milliseconds stepWait = std::chrono::milliseconds(10));

private:
    void threadProcedure();
    void waitWhilePaused();
    std::int64_t now() const { return m_clock(); }

    Clock m_clock;
    Task m_task;
    CTaskLog m_log;

    std::atomic<double> m_current{0.0};
    std::atomic<double> m_previous{-1.0};
    std::atomic<double> m_minimum{0.0};
    std::atomic<double> m_maximum{100.0};
    std::atomic<int> m_abort{0};
    std::atomic<int> m_state{Running};
    std::atomic<bool> m_autoClose{true};
    std::atomic<bool> m_showEstimates{true};
    std::atomic<std::int64_t> m_startTime{0};
    std::atomic<std::int64_t> m_pauseStart{0};
    std::atomic<bool> m_hasWorker{false};

    // Pause: the flag is read under the lock by the waiting worker.
    std::mutex m_pauseMutex;
    std::condition_variable m_pauseChanged;
    std::atomic<bool> m_paused{false};

    mutable std::mutex m_textMutex;
    std::string m_statusLine = "Working...";
    std::string m_taskTitle = "Performing Requested Task";

    // Texts of the last estimate; touched by the interface thread only.
    std::string m_totalText;
    std::string m_remainingText;

    std::function<void(bool)> m_onEnded;
    std::thread m_worker;
};
