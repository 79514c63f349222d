#include "media/image/CFrameRateMeter.h"

#include <cstdio>

CFrameRateMeter::CFrameRateMeter() : m_last(std::chrono::steady_clock::now()) {}

void CFrameRateMeter::tick()
{
    const auto now = std::chrono::steady_clock::now();
    const auto counts = std::chrono::duration_cast<std::chrono::nanoseconds>(now - m_last).count();
    m_last = now;
    tickElapsed(counts, 1000000000);
}

void CFrameRateMeter::tickElapsed(std::int64_t counts, std::int64_t frequency)
{
    if (counts > 0 && frequency > 0)
        m_instant = double(frequency) / double(counts);
    m_average = m_average * (1.0 - 1.0 / kSmoothing) + m_instant / kSmoothing;
}

std::string CFrameRateMeter::text() const
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f Fps", m_average);
    return buffer;
}
