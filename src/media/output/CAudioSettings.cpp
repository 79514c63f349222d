#include "media/output/CAudioSettings.h"

#include <charconv>
#include <cstdio>

namespace {
bool parseWhole(const std::string& text, int& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end && begin != end;
}
} // namespace

int CAudioSettings::setDevice(int id)
{
    if (id < kDefaultDevice)
        return 0;
    m_device = id;
    return 1;
}

int CAudioSettings::setBuffers(int count)
{
    if (count < kMinBuffers || count > kMaxBuffers)
        return 0;
    m_buffers = count;
    return 1;
}

int CAudioSettings::setLengthMs(int ms)
{
    if (ms < kMinLengthMs || ms > kMaxLengthMs)
        return 0;
    m_lengthMs = ms;
    return 1;
}

int CAudioSettings::setRate(int hz)
{
    for (int f : kFrequencies) {
        if (f == hz) {
            m_rate = hz;
            return 1;
        }
    }
    return 0;
}

int CAudioSettings::setBuffersText(const std::string& text)
{
    int value = 0;
    return parseWhole(text, value) ? setBuffers(value) : 0;
}

int CAudioSettings::setLengthText(const std::string& text)
{
    int value = 0;
    return parseWhole(text, value) ? setLengthMs(value) : 0;
}

std::string CAudioSettings::latencyText() const
{
    char text[64];
    std::snprintf(text, sizeof text, "%d [ms] = %d * %d [ms]", m_buffers * m_lengthMs, m_buffers, m_lengthMs);
    return text;
}

std::vector<std::string> CAudioSettings::frequencyTexts()
{
    std::vector<std::string> texts;
    for (int f : kFrequencies)
        texts.push_back(std::to_string(f) + " Hz");
    return texts;
}

std::vector<std::pair<int, std::string>> CAudioSettings::deviceEntries(const std::vector<std::string>& deviceNames)
{
    std::vector<std::pair<int, std::string>> entries;
    entries.emplace_back(kDefaultDevice, kDefaultDeviceName);
    for (std::size_t i = 0; i < deviceNames.size(); ++i)
        entries.emplace_back(static_cast<int>(i), deviceNames[i]);
    return entries;
}
