#pragma once

#include "media/output/IAudioBackend.h"

#include <QByteArray>

// A device that plays into memory: every buffer handed over is kept, in
// order, and counts as queued until the owner says it has been played. The
// output refills exactly as it would on a sound card, only at the pace its
// owner chooses instead of the card's.
class CCaptureAudioBackend : public IAudioBackend {
public:
    bool open(int device, int rate, int channels, int bits, int framesPerBuffer) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool queue(const unsigned char* bytes, std::size_t size) override;
    std::size_t queuedBytes() const override { return m_queued; }
    void pause() override {}
    void resume() override {}
    void reset() override { m_queued = 0; }

    // The device plays `bytes` of what is queued.
    void play(std::size_t bytes);
    // Everything handed over since the last call.
    QByteArray take();

private:
    bool m_open = false;
    std::size_t m_queued = 0;
    QByteArray m_captured;
};
