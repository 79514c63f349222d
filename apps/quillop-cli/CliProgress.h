#pragma once

#include <string>

// A progress bar on stderr for the commands that work through a list of
// frames or files on this thread: drawn only when stderr is a terminal,
// and Ctrl+C asks the work to stop at its next step instead of killing it.
// Safe to update from several threads.
class CliProgress {
public:
    CliProgress();
    ~CliProgress();
    CliProgress(const CliProgress&) = delete;
    CliProgress& operator=(const CliProgress&) = delete;

    void update(int done, int total, const std::string& text);
    // Ends the bar's line.
    void finish();
    bool interrupted() const;

private:
    bool m_bar;
    bool m_drawn = false;
};
