#include "tools/midi/CMidiSourceFiles.h"

#include "media/audio/AudioFileName.h"
#include "media/audio/CWavHeaderInfo.h"
#include "params/CTaskRunner.h"
#include "tools/analysis/CAwaFile.h"

#include <QFileInfo>

#include <cstdio>

int CMidiSourceFiles::load(const std::string& awaPath, const std::string& wavPath)
{
    std::string awaText = kAwaFailedText;
    const bool awaRead = CAwaFile::read(awaPath, m_entries);
    if (awaRead) {
        char text[96];
        std::snprintf(text, sizeof text, "AWA Loaded, file size: %d data.", static_cast<int>(m_entries.size()));
        awaText = text;
    }
    std::string wavText = QFileInfo(audioFileName(wavPath)).completeBaseName().toLocal8Bit().toStdString() + ", "
                          + CWavHeaderInfo::describe(wavPath);
    const bool wavRead = m_recording.loadWav(wavPath);
    if (!wavRead)
        wavText = kWavFailedText;
    m_info = wavText + "\n" + awaText;
    return awaRead && wavRead ? 1 : 0;
}

bool CMidiSourceFiles::hasInputs() const
{
    return !m_entries.empty() && m_recording.channels() > 0 && m_recording.channel(0)->count() > 0;
}

int CMidiSourceFiles::convert(const std::string& midiPath, const CMidiConversionSettings& settings,
                              const CMidiConversion::Hooks& hooks) const
{
    std::vector<double> samples;
    if (const CSampleBuffer* channel = m_recording.channel(0))
        samples.assign(channel->data(), channel->data() + channel->count());
    CMidiConversion conversion(settings);
    return conversion.run(m_entries, samples, m_recording.sampleRate(), midiPath, hooks);
}

int CMidiSourceFiles::convert(const std::string& midiPath, const CMidiConversionSettings& settings,
                              CTaskRunner& runner) const
{
    const int done = convert(midiPath, settings, hooksFor(runner));
    if (!done)
        runner.abort();
    return done;
}

CMidiConversion::Hooks CMidiSourceFiles::hooksFor(CTaskRunner& runner)
{
    CMidiConversion::Hooks h;
    h.progress = [&runner](int current, int maximum) {
        if (runner.maximum() != maximum)
            runner.setMaximum(maximum);
        runner.setCurrent(current);
        return !runner.isAborted();
    };
    h.log = [&runner](const std::string& text) { runner.log().append(text); };
    h.status = [&runner](const std::string& text) { runner.setStatusLine(text); };
    h.title = [&runner](const std::string& text) { runner.setTaskTitle(text); };
    return h;
}
