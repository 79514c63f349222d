#include "tools/soundsplitter/CSilenceSplitter.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/audio/CSoundSet.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kBits = 16;

std::uint32_t windowFrames(const CSoundSet& sound)
{
    return std::max<std::uint32_t>(1, std::uint32_t(std::lround(sound.sampleRate() / CSilenceSplitter::kWindowsPerSecond)));
}

std::vector<bool> loudWindows(const CSoundSet& sound, double threshold)
{
    const std::uint32_t frames = sound.largestFrameCount(0, sound.channels());
    const std::uint32_t window = windowFrames(sound);
    std::vector<bool> loud((frames + window - 1) / window, false);
    for (int c = 0; c < sound.channels(); ++c) {
        const CSampleBuffer& samples = *sound.channel(c);
        for (std::uint32_t f = 0; f < samples.count(); ++f)
            if (std::fabs(samples.data()[f]) >= threshold)
                loud[f / window] = true;
    }
    return loud;
}

int windowsOf(int ms)
{
    return std::max(0, (ms * CSilenceSplitter::kWindowsPerSecond + 999) / 1000);
}
} // namespace

std::vector<CSilenceSplitter::Segment> CSilenceSplitter::split(const CSoundSet& sound, const Settings& settings)
{
    const std::vector<bool> loud = loudWindows(sound, std::pow(10.0, settings.thresholdDb / 20.0));
    // Runs of loud windows, as [start, end) in windows.
    std::vector<std::pair<int, int>> runs;
    const int windows = int(loud.size());
    for (int w = 0; w < windows;) {
        if (!loud[std::size_t(w)]) {
            ++w;
            continue;
        }
        int end = w;
        while (end < windows && loud[std::size_t(end)])
            ++end;
        if (!runs.empty() && w - runs.back().second < std::max(1, windowsOf(settings.minSilenceMs)))
            runs.back().second = end; // too short a silence: the same sound goes on
        else
            runs.emplace_back(w, end);
        w = end;
    }
    const std::uint32_t window = windowFrames(sound);
    const std::uint32_t frames = sound.largestFrameCount(0, sound.channels());
    std::vector<Segment> segments;
    for (const auto& [start, end] : runs) {
        if (end - start < windowsOf(settings.minSoundMs))
            continue;
        const std::uint32_t first = std::uint32_t(start) * window;
        const std::uint32_t last = std::min(frames, std::uint32_t(end) * window);
        segments.push_back({first, last - first});
    }
    return segments;
}

std::string CSilenceSplitter::numberedName(const std::string& base, int number)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "_%03d", number);
    return base + digits;
}

int CSilenceSplitter::writeWavFiles(const CSoundSet& sound, const std::vector<Segment>& segments,
                                    const std::string& folder, const std::string& base, std::string* failedName)
{
    const QDir dir(QString::fromStdString(folder));
    int written = 0;
    for (const Segment& s : segments) {
        const std::string name =
            dir.filePath(QString::fromStdString(numberedName(base, written + 1) + ".wav")).toStdString();
        if (QFileInfo::exists(QString::fromStdString(name))
            || !sound.writeWav(name, s.first, s.count, kBits, std::uint32_t(sound.sampleRate()), 0, sound.channels(), {})) {
            if (failedName)
                *failedName = name;
            break;
        }
        ++written;
    }
    return written;
}

int CSilenceSplitter::addToSounds(CResourceHolder& holder, const CSoundSet& sound, const std::vector<Segment>& segments,
                                  const std::string& base)
{
    const int channels = sound.channels();
    int added = 0;
    for (const Segment& s : segments) {
        const std::size_t frameBytes = std::size_t(channels) * kBits / 8;
        QByteArray bytes(qsizetype(s.count * frameBytes), '\0');
        auto* out = reinterpret_cast<unsigned char*>(bytes.data());
        for (int c = 0; c < channels; ++c)
            sound.channel(c)->exportSamples(out, std::size_t(bytes.size()), s.first, s.count, kBits, c, channels);
        const int index = holder.newItem(GroupSounds, numberedName(base, added + 1));
        auto* item = dynamic_cast<CMVT_WavMemory*>(holder.get(GroupSounds, index));
        if (!item || !item->setSamples(kBits, channels, int(sound.sampleRate()), bytes)) {
            if (index >= 0)
                holder.remove(GroupSounds, index);
            break;
        }
        ++added;
    }
    return added;
}
