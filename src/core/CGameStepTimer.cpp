#include "core/CGameStepTimer.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"

#include <algorithm>
#include <chrono>

int CGameStepTimer::delayFor(const CResourceHolder& holder)
{
    return std::max(1, holder.integerParameter(kDelaySetting, kDefaultDelay));
}

CGameStepTimer::~CGameStepTimer() { stop(); }

bool CGameStepTimer::start(int delayMs, std::function<bool()> step, std::function<void()> wake)
{
    if (isRunning())
        return true;
    m_delayMs = std::max(1, delayMs);
    m_stepPending = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = false;
    }
    m_thread = std::thread(&CGameStepTimer::run, this, std::move(step), std::move(wake));
    return true;
}

void CGameStepTimer::stop()
{
    if (!isRunning())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CGameStepTimer::restart(bool stopFirst, bool startAfter, int delayMs, std::function<bool()> step,
                             std::function<void()> wake)
{
    if (stopFirst)
        stop();
    if (startAfter)
        start(delayMs, std::move(step), std::move(wake));
}

void CGameStepTimer::run(std::function<bool()> step, std::function<void()> wake)
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(m_delayMs);
    auto next = Clock::now() + period;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_until(lock, next, [this] { return m_stopping; })) {
        lock.unlock();
        // A flag already up has its wake-up on the way: the repaint it
        // brings shows this step too.
        if (step && step() && !m_stepPending.exchange(true) && wake)
            wake();
        lock.lock();
        next += period;
        // A step slower than the period does not leave a backlog of steps
        // to catch up on: the clock runs on from now.
        const auto now = Clock::now();
        if (next < now)
            next = now + period;
    }
}
