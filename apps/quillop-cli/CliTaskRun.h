#pragma once

#include <functional>
#include <string>

class CTaskRunner;

// Runs a tool's task on a task runner the way the progress window would:
// a progress bar with the remaining time on stderr (when it is a terminal),
// Ctrl+C raising the abort flag so the task stops at its next step and logs
// its own "not entirely done" line, and the job log printed at the end.
// The task answers whether it succeeded. Returns the exit code: 0 done,
// 1 failed, 130 interrupted.
int runTaskWithProgress(CTaskRunner& runner, const std::function<bool(CTaskRunner&)>& task);
