#include "media/output/CAudioOutput.h"

#include "media/output/CSdlAudioBackend.h"
#include "media/output/CSoundSource.h"

#include <algorithm>

CAudioOutput::CAudioOutput(std::unique_ptr<IAudioBackend> backend)
    : m_backend(backend ? std::move(backend) : std::make_unique<CSdlAudioBackend>())
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
}

CAudioOutput::~CAudioOutput() { stop(); }

void CAudioOutput::configure(int device, int buffers, int lengthMs, int bits, int rate, int channels)
{
    stop();
    m_device = device;
    m_buffers = std::max(buffers, 1);
    m_lengthMs = std::max(lengthMs, 1);
    m_bits = bits;
    m_rate = rate;
    m_channels = channels;
    m_framesPerBuffer = static_cast<int>(static_cast<std::int64_t>(m_lengthMs) * rate / 1000);
    m_bytesPerBuffer = static_cast<std::size_t>(std::max(m_framesPerBuffer, 0)) * static_cast<std::size_t>(bits / 8)
                       * static_cast<std::size_t>(std::max(channels, 0));
}

int CAudioOutput::start()
{
    stop();
    m_error = "the sound format is not one the mixer makes";
    if (!m_source || m_framesPerBuffer <= 0 || m_bytesPerBuffer == 0)
        return 0;
    m_position = 0;
    if (!m_source->prepare(m_bytesPerBuffer, m_framesPerBuffer, m_bits, m_channels, m_rate, 0))
        return 0;
    if (!m_backend->open(m_device, m_rate, m_channels, m_bits, m_framesPerBuffer)) {
        m_error = m_backend->lastError();
        if (m_error.empty())
            m_error = "the sound device did not open";
        return 0;
    }
    m_error = "the sound device refused the first buffers";
    const std::size_t room = static_cast<std::size_t>(m_framesPerBuffer) * static_cast<std::size_t>(m_channels) * sizeof(float);
    m_blocks.assign(static_cast<std::size_t>(m_buffers), std::vector<unsigned char>(std::max(room, m_bytesPerBuffer)));
    m_nextBlock = 0;
    m_open = true;  // so that a failure below goes through stop()
    // The device is paused while the buffers are filled, so they start together.
    m_backend->pause();
    for (std::size_t b = 0; b < m_blocks.size(); ++b) {
        if (!fillAndQueue(b)) {
            stop();
            return 0;
        }
    }
    m_backend->resume();
    m_timer.start(std::max(1, m_lengthMs / 4));
    m_error.clear();
    return 1;
}

int CAudioOutput::fillAndQueue(std::size_t buffer)
{
    unsigned char* bytes = m_blocks[buffer].data();
    if (!m_source->fillBuffer(bytes, m_blocks[buffer].size(), m_framesPerBuffer, m_position))
        return 0;
    m_position += m_framesPerBuffer;
    return m_backend->queue(bytes, m_bytesPerBuffer) ? 1 : 0;
}

int CAudioOutput::poll()
{
    if (!m_open)
        return 0;
    // Buffers still (partly) in the device's queue; the others have played.
    const std::size_t queued = m_backend->queuedBytes();
    const std::size_t pending = (queued + m_bytesPerBuffer - 1) / m_bytesPerBuffer;
    const std::size_t played = m_blocks.size() - std::min(pending, m_blocks.size());
    for (std::size_t i = 0; i < played; ++i) {
        if (!fillAndQueue(m_nextBlock)) {
            stop();
            return static_cast<int>(i);
        }
        m_nextBlock = (m_nextBlock + 1) % m_blocks.size();
    }
    return static_cast<int>(played);
}

void CAudioOutput::stop()
{
    if (!m_open)
        return;
    m_timer.stop();
    if (m_source)
        m_source->end();
    m_backend->reset();
    m_backend->close();
    m_blocks.clear();
    m_nextBlock = 0;
    m_open = false;
}

void CAudioOutput::pause()
{
    if (!m_open)
        return;
    m_backend->pause();
    if (m_source)
        m_source->pause();
}

void CAudioOutput::restart()
{
    if (!m_open)
        return;
    m_backend->resume();
    if (m_source)
        m_source->restart();
}

void CAudioOutput::setPosition(std::int64_t position)
{
    m_position = position;
    if (m_source)
        m_source->setPosition(position);
}
