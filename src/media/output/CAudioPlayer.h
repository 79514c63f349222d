#pragma once

#include "media/output/CAudioOutput.h"
#include "media/output/CAudioSettings.h"
#include "media/output/CSoundMixer.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IVoiceSource;

// The application's player: 32 voices on one output. Sounds are started,
// stopped and asked about by item, as the sounds grid's "Play" cell does.
class CAudioPlayer {
public:
    static constexpr int kVoices = 32;
    static constexpr float kVoiceGain = 0.6f;
    static constexpr float kRateFactor = 1.0f;

    // The states of the "Play" cell.
    enum State { Stopped = 0, Playing = 1, LoopPlaying = 2 };
    static constexpr const char* kStateLabels[3] = {"Stop", "Play", "Loop Play"};

    explicit CAudioPlayer(std::unique_ptr<IAudioBackend> backend = nullptr);
    ~CAudioPlayer();

    // Gives the mixer its voices, configures the output with the settings,
    // and opens the device once for `probe` to find out early whether it works.
    void initialise(const CAudioSettings& settings, std::chrono::milliseconds probe = std::chrono::milliseconds(50));
    // After the settings dialog: everything stops and starts again with the new values.
    void applySettings(const CAudioSettings& settings);

    // 1 when the item started on a voice; 0 when the device cannot be opened
    // or the item has nothing to play.
    int play(const IVoiceSource* item, bool loop);
    // Several sounds from the same moment. When the device is closed, every
    // sound is on its voice before the device opens, so the first buffers
    // already carry them all (playing them one by one would let the first
    // fill every queued buffer alone). The number of sounds that started;
    // 0 when the device cannot be opened.
    int playTogether(const std::vector<const IVoiceSource*>& items, bool loop);
    void stop(const IVoiceSource* item);
    void stopAll();
    State state(const IVoiceSource* item) const;
    // Editing or pasting the "Play" cell: Stopped stops every voice playing
    // the item, Playing plays it once, LoopPlaying plays it in a loop.
    void setState(const IVoiceSource* item, State state);
    // Told once, with the reason, when a sound cannot start because the
    // output does not open (no sound card, a device gone); told again only
    // after the output worked in between.
    void setOutputFailureNotice(std::function<void(const std::string&)> notice)
    {
        m_outputFailureNotice = std::move(notice);
    }

    CSoundMixer& mixer() { return m_mixer; }
    CAudioOutput& output() { return m_output; }
    int rotatingCounter() const { return m_counter; }

private:
    bool outputReady();
    int chooseVoice() const;
    // Puts the item on the chosen voice and advances the counter: 1 when it started.
    int startOnVoice(const IVoiceSource* item, bool loop);

    CSoundMixer m_mixer;
    CAudioOutput m_output;
    int m_counter = 0;
    std::function<void(const std::string&)> m_outputFailureNotice;
    bool m_failureTold = false;
};
