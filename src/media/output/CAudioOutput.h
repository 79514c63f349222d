#pragma once

#include "media/output/IAudioBackend.h"

#include <QObject>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSoundSource;

// The wave output: a ring of buffers filled from a source and handed to the
// device; each buffer the device has played is filled again at the next
// position and handed back. Everything happens on the thread that owns the
// output (a timer polls the device), so the source is never touched by two
// threads.
class CAudioOutput : public QObject {
public:
    // Without a backend the output uses the SDL device.
    explicit CAudioOutput(std::unique_ptr<IAudioBackend> backend = nullptr);
    ~CAudioOutput() override;

    void setSource(CSoundSource* source) { m_source = source; }

    // Stops output and takes the new format; nothing plays until start().
    void configure(int device, int buffers, int lengthMs, int bits, int rate, int channels);
    // 1 when the device is open and every buffer is queued.
    int start();
    void stop();
    void pause();
    void restart();
    void setPosition(std::int64_t position);

    // Refills the buffers the device has played since the last call; the
    // timer calls it, tests may call it directly. The number of buffers refilled.
    int poll();

    bool isOpen() const { return m_open; }
    // Why the last start() failed; "" after one that worked.
    const std::string& lastError() const { return m_error; }
    int device() const { return m_device; }
    int bufferCount() const { return m_buffers; }
    int framesPerBuffer() const { return m_framesPerBuffer; }
    std::size_t bytesPerBuffer() const { return m_bytesPerBuffer; }
    int bits() const { return m_bits; }
    int channels() const { return m_channels; }
    int rate() const { return m_rate; }
    std::int64_t position() const { return m_position; }
    IAudioBackend& backend() { return *m_backend; }

private:
    int fillAndQueue(std::size_t buffer);

    std::unique_ptr<IAudioBackend> m_backend;
    CSoundSource* m_source = nullptr;
    QTimer m_timer;

    int m_device = -1;
    int m_buffers = 4;
    int m_lengthMs = 30;
    int m_framesPerBuffer = 1323;
    std::size_t m_bytesPerBuffer = 5292;
    int m_bits = 16;
    int m_channels = 2;
    int m_rate = 44100;
    std::int64_t m_position = 0;
    bool m_open = false;
    std::string m_error;

    // One block per buffer, with room for frames x channels floats as the
    // mixer works in floats before converting.
    std::vector<std::vector<unsigned char>> m_blocks;
    std::size_t m_nextBlock = 0;  // the oldest buffer in the device's queue
};
