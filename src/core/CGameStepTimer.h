#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CResourceHolder;

// Drives animated previews: calls a step function every `delay` milliseconds
// on its own thread, and remembers whether any step changed something so
// that the interface thread repaints at most once per collected batch. The
// interface thread is woken only when the flag goes up, so it sleeps while
// nothing changes and never has more than one wake-up waiting.
class CGameStepTimer {
public:
    static constexpr int kDefaultDelay = 8;
    static constexpr const char* kDelaySetting = "settings_one_game_step_delay";

    // The document's step delay: its setting, 8 ms without one, at least 1 ms.
    static int delayFor(const CResourceHolder& holder);

    CGameStepTimer() = default;
    ~CGameStepTimer();

    CGameStepTimer(const CGameStepTimer&) = delete;
    CGameStepTimer& operator=(const CGameStepTimer&) = delete;

    // Starts stepping when no timer runs; `step` returns whether it changed
    // anything and runs on the timer thread, and so does `wake`, called when
    // a changing step raises the flag that was down. Returns whether a timer
    // runs.
    bool start(int delayMs, std::function<bool()> step, std::function<void()> wake = {});
    void stop();
    void restart(bool stopFirst, bool startAfter, int delayMs, std::function<bool()> step,
                 std::function<void()> wake = {});

    bool isRunning() const { return m_thread.joinable(); }
    int delay() const { return m_delayMs; }

    // Reads and clears the flag the timer thread sets after a changing step.
    bool takeStepPending() { return m_stepPending.exchange(false); }

private:
    void run(std::function<bool()> step, std::function<void()> wake);

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;  // guarded by m_mutex
    int m_delayMs = kDefaultDelay;
    std::atomic<bool> m_stepPending{false};
};
