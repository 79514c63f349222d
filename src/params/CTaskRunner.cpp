#include "params/CTaskRunner.h"

#include "params/CTaskProgressText.h"

#include <exception>
#include <system_error>

namespace {
std::int64_t steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

CTaskRunner::CTaskRunner(Clock clock) : m_clock(clock ? std::move(clock) : Clock(steadyMs))
{
    m_task = [](CTaskRunner& runner) { demonstrationTask(runner); };
    const std::int64_t t = now();
    m_startTime = t;
    m_pauseStart = t;
}

CTaskRunner::~CTaskRunner()
{
    // A runner going away while its task still runs must not leave the
    // worker touching freed memory: stop it at its next progress point.
    if (m_worker.joinable() && m_hasWorker.load())
        abort();
    wait();
    m_log.writeLogFile();
}

void CTaskRunner::setTask(Task task)
{
    if (task)
        m_task = std::move(task);
    else
        m_task = [](CTaskRunner& runner) { demonstrationTask(runner); };
}

int CTaskRunner::start()
{
    if (m_hasWorker.load())
        return 0;
    wait(); // an earlier run's thread object
    m_current = 0.0;
    m_previous = -1.0;
    m_minimum = 0.0;
    m_maximum = 100.0;
    m_abort = 0;
    m_paused = false;
    m_state = Running;
    const std::int64_t t = now();
    m_startTime = t;
    m_pauseStart = t;
    m_totalText.clear();
    m_remainingText.clear();
    m_hasWorker = true;
    try {
        m_worker = std::thread(&CTaskRunner::threadProcedure, this);
    } catch (const std::system_error&) {
        m_hasWorker = false;
        return 0;
    }
    return 1;
}

void CTaskRunner::threadProcedure()
{
    try {
        m_task(*this);
    } catch (const std::exception& e) {
        // A task that throws has failed; say so the way tasks report errors
        // rather than taking the whole program down with the thread.
        m_log.append(std::string("*** ERROR: ") + e.what() + "\r\n");
        m_abort = 1;
    } catch (...) {
        m_log.append("*** ERROR: Unexpected failure\r\n");
        m_abort = 1;
    }
    m_current = m_maximum.load();
    m_previous = -1.0;
    m_state = Ended;
    if (m_onEnded)
        m_onEnded(m_autoClose.load());
    m_hasWorker = false; // last step: the interface thread may now finish
}

void CTaskRunner::wait()
{
    if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id())
        m_worker.join();
}

int CTaskRunner::pause()
{
    if (!m_hasWorker.load() || m_paused.load())
        return 0;
    {
        std::lock_guard lock(m_pauseMutex);
        m_paused = true;
    }
    m_pauseStart = now();
    return 1;
}

int CTaskRunner::resume()
{
    if (!m_hasWorker.load() || !m_paused.load())
        return 0;
    // Time spent paused is not working time.
    m_startTime += now() - m_pauseStart.load();
    {
        std::lock_guard lock(m_pauseMutex);
        m_paused = false;
    }
    m_pauseChanged.notify_all();
    return 1;
}

void CTaskRunner::abort()
{
    m_abort = 1;
    if (m_paused.load()) {
        if (!resume()) {
            // The worker is already gone; just drop the flag.
            std::lock_guard lock(m_pauseMutex);
            m_paused = false;
        }
        m_pauseChanged.notify_all();
    }
}

void CTaskRunner::waitWhilePaused()
{
    if (!m_paused.load())
        return;
    std::unique_lock lock(m_pauseMutex);
    m_pauseChanged.wait(lock, [this] { return !m_paused.load(); });
}

void CTaskRunner::setCurrent(double value)
{
    waitWhilePaused();
    m_current = value;
}

void CTaskRunner::setMinimum(double value)
{
    waitWhilePaused();
    m_minimum = value;
}

void CTaskRunner::setMaximum(double value)
{
    waitWhilePaused();
    m_maximum = value;
}

void CTaskRunner::restartTiming()
{
    waitWhilePaused();
    const std::int64_t t = now();
    m_startTime = t;
    m_pauseStart = t;
    m_previous = m_current.load() - 1.0;
}

void CTaskRunner::setStatusLine(const std::string& text)
{
    std::lock_guard lock(m_textMutex);
    m_statusLine = text;
}

void CTaskRunner::setTaskTitle(const std::string& text)
{
    std::lock_guard lock(m_textMutex);
    m_taskTitle = text;
}

std::string CTaskRunner::statusLine() const
{
    std::lock_guard lock(m_textMutex);
    return m_statusLine;
}

std::string CTaskRunner::taskTitle() const
{
    std::lock_guard lock(m_textMutex);
    return m_taskTitle;
}

std::int64_t CTaskRunner::elapsedMs() const
{
    return now() - m_startTime.load();
}

std::string CTaskRunner::percentText() const
{
    return CTaskProgressText::percentText(m_current.load(), m_minimum.load(), m_maximum.load());
}

CTaskRunner::TimeLabels CTaskRunner::refreshTimeLabels()
{
    using Text = CTaskProgressText;
    const std::int64_t elapsed = elapsedMs();
    const double current = m_current.load();
    TimeLabels labels;
    labels.progressChanged = current != m_previous.load();
    if (labels.progressChanged && m_showEstimates.load()) {
        if (const auto e = Text::estimate(elapsed, current, m_minimum.load(), m_maximum.load())) {
            m_totalText = Text::timeLabel(Text::Label::Total, e->totalMs);
            m_remainingText = Text::timeLabel(Text::Label::Remaining, e->remainingMs);
        }
    }
    labels.elapsed = Text::timeLabel(Text::Label::Elapsed, elapsed);
    labels.total = m_totalText;
    labels.remaining = m_remainingText;
    m_previous = current;
    return labels;
}

void CTaskRunner::demonstrationTask(CTaskRunner& runner, std::chrono::milliseconds stepWait)
{
    CTaskLog& log = runner.log();
    log.setLogFileName("TasksDone.LOG");
    log.setLogOptions(true, false, 500);
    log.logWithTime("Job Started at %s\r\n");
    runner.setTaskTitle("Extract Left && Right Audio Channels");
    runner.setStatusLine("Left of Filename");
    runner.setCurrent(0);
    runner.setMinimum(0);
    runner.setMaximum(999);
    runner.restartTiming();
    for (int i = 0; i < 1000; ++i) {
        runner.setCurrent(i);
        if (runner.isAborted()) {
            log.logWithTime("*** Job Aborted at %s\r\n\r\n");
            return;
        }
        if (i % 100 == 0)
            log.append("        Done One Step.\r\n");
        std::this_thread::sleep_for(stepWait);
    }
    log.logWithTime(runner.isAborted() ? "*** Job Aborted at %s\r\n\r\n" : "Job Ended at %s\r\n\r\n");
}
