#include "CliProgress.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <mutex>

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
void onInterrupt(int) { g_interrupted = 1; }
void (*g_previous)(int) = nullptr;
std::mutex g_drawing;
} // namespace

CliProgress::CliProgress() : m_bar(isatty(STDERR_FILENO) != 0)
{
    g_interrupted = 0;
    g_previous = std::signal(SIGINT, onInterrupt);
}

CliProgress::~CliProgress()
{
    finish();
    std::signal(SIGINT, g_previous);
}

void CliProgress::update(int done, int total, const std::string& text)
{
    if (!m_bar)
        return;
    const std::lock_guard<std::mutex> guard(g_drawing);
    const int width = 30;
    const int filled = total > 0 ? std::clamp(done * width / total, 0, width) : 0;
    std::string line = text;
    line.erase(std::remove(line.begin(), line.end(), '\n'), line.end());
    std::fprintf(stderr, "\r[%s%s] %s   ", std::string(std::size_t(filled), '#').c_str(),
                 std::string(std::size_t(width - filled), '-').c_str(), line.c_str());
    std::fflush(stderr);
    m_drawn = true;
}

void CliProgress::finish()
{
    const std::lock_guard<std::mutex> guard(g_drawing);
    if (m_drawn)
        std::fprintf(stderr, "\n");
    m_drawn = false;
}

bool CliProgress::interrupted() const
{
    return g_interrupted != 0;
}
