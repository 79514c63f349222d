#include "CliTaskRun.h"

#include "params/CTaskRunner.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {
volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int)
{
    g_interrupted = 1;
}

std::string withNewlines(const std::string& log)
{
    std::string out;
    out.reserve(log.size());
    for (char c : log)
        if (c != '\r')
            out += c;
    return out;
}

void drawBar(CTaskRunner& runner)
{
    const double span = runner.maximum() - runner.minimum();
    const double fraction = span > 0 ? (runner.current() - runner.minimum()) / span : 0.0;
    const int width = 30;
    const int filled = std::max(0, std::min(width, static_cast<int>(fraction * width + 0.5)));
    const CTaskRunner::TimeLabels labels = runner.refreshTimeLabels();
    std::fprintf(stderr, "\r[%s%s] %8s  %s  %s   ", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(width - filled), '-').c_str(), runner.percentText().c_str(),
                 labels.remaining.empty() ? labels.elapsed.c_str() : labels.remaining.c_str(),
                 runner.statusLine().c_str());
    std::fflush(stderr);
}
} // namespace

int runTaskWithProgress(CTaskRunner& runner, const std::function<bool(CTaskRunner&)>& task)
{
    std::atomic<bool> succeeded{false};
    runner.setAutoClose(false);
    runner.setTask([&](CTaskRunner& r) { succeeded = task(r); });
    g_interrupted = 0;
    auto previous = std::signal(SIGINT, onInterrupt);
    const bool bar = isatty(STDERR_FILENO) != 0;
    if (!runner.start()) {
        std::signal(SIGINT, previous);
        std::fprintf(stderr, "quillop-cli: the task could not be started\n");
        return 1;
    }
    bool abortSent = false;
    while (runner.state() != CTaskRunner::Ended) {
        if (g_interrupted && !abortSent) {
            runner.abort();
            abortSent = true;
        }
        if (bar)
            drawBar(runner);
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
    }
    runner.wait();
    if (bar) {
        drawBar(runner);
        std::fprintf(stderr, "\n");
    }
    std::signal(SIGINT, previous);
    std::fputs(withNewlines(runner.log().currentText()).c_str(), stdout);
    std::fflush(stdout);
    if (g_interrupted)
        return 130;
    return succeeded ? 0 : 1;
}
