#pragma once

#include <functional>
#include <string>

class CTaskRunner;

// How the analysis tasks report: plain callbacks, so that they run under the
// progress window, the command line or a test alike. `progress` answers
// false once the user asked to stop; `fail` ends the task the way a task
// error does (the runner's abort flag, so the window shows the aborted state).
// Every callback may be empty.
struct CAnalysisHooks {
    std::function<bool(double current, double maximum)> progress;
    std::function<void(const std::string&)> log;
    std::function<void(const std::string&)> status;
    std::function<void(const std::string&)> title;
    std::function<void()> fail;

    // Wired to a task runner: progress values, job log, status line, title
    // and abort flag. The progress setters are where a paused task waits.
    static CAnalysisHooks forRunner(CTaskRunner& runner);

    bool report(double current, double maximum) const { return !progress || progress(current, maximum); }
    void say(const std::string& text) const
    {
        if (log)
            log(text);
    }
    void setStatus(const std::string& text) const
    {
        if (status)
            status(text);
    }
    void setTitle(const std::string& text) const
    {
        if (title)
            title(text);
    }
    void raiseFailure() const
    {
        if (fail)
            fail();
    }
};
