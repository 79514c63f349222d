#include "media/output/CAudioPlayer.h"

#include "media/output/IAudioBackend.h"

#include <thread>

CAudioPlayer::CAudioPlayer(std::unique_ptr<IAudioBackend> backend) : m_output(std::move(backend))
{
    m_output.setSource(&m_mixer);
}

CAudioPlayer::~CAudioPlayer() { m_output.stop(); }

void CAudioPlayer::initialise(const CAudioSettings& settings, std::chrono::milliseconds probe)
{
    m_mixer.setVoices(kVoices, kVoiceGain, kRateFactor);
    m_counter = 0;
    m_output.configure(settings.device(), settings.buffers(), settings.lengthMs(), settings.bits(), settings.rate(),
                       settings.channels());
    m_output.start();
    std::this_thread::sleep_for(probe);
    m_output.stop();
}

void CAudioPlayer::applySettings(const CAudioSettings& settings)
{
    stopAll();
    initialise(settings);
}

int CAudioPlayer::chooseVoice() const
{
    for (int i = 0; i < m_mixer.voiceCount(); ++i)
        if (!m_mixer.voice(i).item())
            return i;
    // A voice whose sound has ended is as free as an empty one; only when
    // every voice is busy does the oldest choice get cut off.
    for (int i = 0; i < m_mixer.voiceCount(); ++i)
        if (!m_mixer.voice(i).isPlaying())
            return i;
    return m_counter;
}

int CAudioPlayer::startOnVoice(const IVoiceSource* item, bool loop)
{
    CSoundVoice& voice = m_mixer.voice(chooseVoice());
    voice.stop();
    voice.setItem(item);
    voice.setLoop(loop);
    const int started = voice.start();
    if (!started)
        voice.setItem(nullptr);
    m_counter = (m_counter + 1) % m_mixer.voiceCount();
    return started;
}

int CAudioPlayer::play(const IVoiceSource* item, bool loop)
{
    if (!item || m_mixer.voiceCount() == 0)
        return 0;
    if (!outputReady())
        return 0;
    return startOnVoice(item, loop);
}

int CAudioPlayer::playTogether(const std::vector<const IVoiceSource*>& items, bool loop)
{
    if (m_mixer.voiceCount() == 0)
        return 0;
    int started = 0;
    for (const IVoiceSource* item : items)
        if (item)
            started += startOnVoice(item, loop);
    if (!outputReady()) {
        // Nothing may wait on a voice to sound later, at the next play().
        for (const IVoiceSource* item : items)
            stop(item);
        return 0;
    }
    return started;
}

bool CAudioPlayer::outputReady()
{
    if (!m_output.isOpen())
        m_output.start();
    if (m_output.isOpen()) {
        m_failureTold = false;
        return true;
    }
    // Once, not at every press: the reason does not change between presses.
    if (!m_failureTold && m_outputFailureNotice) {
        m_failureTold = true;
        m_outputFailureNotice("No audio output: " + m_output.lastError());
    }
    return false;
}

void CAudioPlayer::stop(const IVoiceSource* item)
{
    for (int i = 0; i < m_mixer.voiceCount(); ++i) {
        CSoundVoice& voice = m_mixer.voice(i);
        if (voice.item() == item && voice.isPlaying())
            voice.setItem(nullptr);
    }
}

void CAudioPlayer::stopAll()
{
    m_output.stop();
    m_counter = 0;
    for (int i = 0; i < m_mixer.voiceCount(); ++i)
        m_mixer.voice(i).setItem(nullptr);
}

CAudioPlayer::State CAudioPlayer::state(const IVoiceSource* item) const
{
    if (!item)
        return Stopped;
    for (int i = 0; i < m_mixer.voiceCount(); ++i) {
        const CSoundVoice& voice = m_mixer.voice(i);
        if (voice.item() == item && voice.isPlaying())
            return voice.loop() ? LoopPlaying : Playing;
    }
    return Stopped;
}

void CAudioPlayer::setState(const IVoiceSource* item, State state)
{
    if (state == Stopped)
        stop(item);
    else
        play(item, state == LoopPlaying);
}
