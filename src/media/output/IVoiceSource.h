#pragma once

#include <QByteArray>

#include <cstdint>

// What a voice plays: uncompressed interleaved samples in their stored
// encoding, or a whole Ogg Vorbis file the voice decodes as it plays. The
// bytes are shared (QByteArray), so the voice keeps them even when their
// owner changes or goes while it plays.
struct VoiceSound {
    bool isOgg = false;
    QByteArray data;
    int bits = 0;
    int channels = 0;
    int rate = 0;
    std::int64_t frames = 0;
};

// Whatever holds a sound the mixer can play. The mixer knows its sources only
// by this, and by their address (which source a voice is playing).
class IVoiceSource {
public:
    virtual ~IVoiceSource() = default;
    virtual VoiceSound voiceSound() const = 0;
};
