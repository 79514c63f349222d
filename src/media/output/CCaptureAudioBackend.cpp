#include "media/output/CCaptureAudioBackend.h"

#include <algorithm>

bool CCaptureAudioBackend::open(int, int rate, int channels, int bits, int framesPerBuffer)
{
    // The same formats a sound card is asked for; anything else is refused
    // as the real device would refuse it.
    m_open = rate > 0 && channels >= 1 && channels <= 2 && (bits == 8 || bits == 16) && framesPerBuffer > 0;
    m_queued = 0;
    return m_open;
}

bool CCaptureAudioBackend::queue(const unsigned char* bytes, std::size_t size)
{
    if (!m_open)
        return false;
    m_captured.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    m_queued += size;
    return true;
}

void CCaptureAudioBackend::play(std::size_t bytes) { m_queued -= std::min(bytes, m_queued); }

QByteArray CCaptureAudioBackend::take()
{
    QByteArray bytes;
    bytes.swap(m_captured);
    return bytes;
}
