#pragma once

#include "media/output/CAudioPlayer.h"
#include "media/output/CAudioSettings.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

class CCaptureAudioBackend;
class IVoiceSource;
class QIODevice;

// Renders what the player would send to the sound card into a WAV file: the
// application's player (its 32 voices, mixer and buffer ring) on a device
// that plays into memory, refilled one buffer at a time as a card would.
// The way to hear or check a mix without a sound card.
class CMixRenderer {
public:
    // Longest render when asked to run until the sounds end; a sound at a
    // very low rate would otherwise run for days.
    static constexpr int kMaxSeconds = 3600;
    static constexpr int kWavHeaderBytes = 44;

    explicit CMixRenderer(const CAudioSettings& settings);
    ~CMixRenderer();

    // Puts the sounds on voices from the same moment: how many started.
    int start(const std::vector<const IVoiceSource*>& items, bool loop);

    // Writes the WAV file of the next `frames` output frames; with `frames`
    // below 0, of every buffer up to the one in which the last sound ended
    // (at most kMaxSeconds). 1 success; 0 when the device stopped, the file
    // would pass the 4 GB a WAV file can describe, or `out` refused a write
    // or cannot seek back to complete the header.
    int writeWav(QIODevice& out, std::int64_t frames);

    // The 44-byte header of a PCM WAV file holding `dataBytes` bytes.
    static QByteArray wavHeader(std::uint32_t dataBytes, int rate, int channels, int bits);

    CAudioPlayer& player() { return m_player; }
    int bytesPerFrame();

private:
    bool anyVoicePlaying();

    // Declared before the player: the player's construction sets it.
    CCaptureAudioBackend* m_device;  // owned by the player's output
    CAudioPlayer m_player;
};
