#pragma once

#include <atomic>
#include <mutex>

// Keeps game steps, which run on the timer thread, away from the data an
// edit is changing. An edit holds the lock for its whole length; a step runs
// only when nothing holds it and is skipped otherwise (a skipped step only
// delays a preview by one tick, it never waits for the edit).
class CStepLock {
public:
    class CHold {
    public:
        explicit CHold(CStepLock& lock) : m_lock(lock), m_guard(lock.m_mutex) { ++m_lock.m_holds; }
        ~CHold() { --m_lock.m_holds; }
        CHold(const CHold&) = delete;
        CHold& operator=(const CHold&) = delete;

    private:
        CStepLock& m_lock;
        std::lock_guard<std::mutex> m_guard;
    };

    // An edit is under way (the lock count is positive).
    bool isLocked() const { return m_holds.load() > 0; }

    // Runs the step unless an edit holds the lock: the step's answer, false
    // when it was skipped.
    template <typename Step> bool runStep(Step&& step)
    {
        if (isLocked())
            return false;
        std::unique_lock<std::mutex> guard(m_mutex, std::try_to_lock);
        return guard.owns_lock() ? step() : false;
    }

private:
    std::atomic<int> m_holds{0};
    std::mutex m_mutex;
};
