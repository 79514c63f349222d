#include "media/audio/CDecodedOggStreams.h"

#include "media/audio/COggVorbisDecoder.h"

namespace {
constexpr std::size_t kFileChunk = 64 * 1024;
constexpr int kBlockFrames = 4096;
} // namespace

CDecodedOggStreams::CDecodedOggStreams(std::size_t limitBytes) : m_limit(limitBytes) {}

CDecodedOggStreams::~CDecodedOggStreams()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

CDecodedOggStreams& CDecodedOggStreams::shared()
{
    static CDecodedOggStreams streams;
    return streams;
}

std::shared_ptr<CDecodedOggStreams::Stream> CDecodedOggStreams::decode(const QByteArray& file, std::size_t limitBytes,
                                                                       const std::atomic<bool>* stop)
{
    COggVorbisDecoder decoder;
    if (!decoder.open(file, kFileChunk))
        return nullptr;
    auto stream = std::make_shared<Stream>();
    stream->rate = decoder.info().rate;
    std::size_t frames = 0;
    for (;;) {
        if (stop && stop->load())
            return nullptr;
        stream->frames.resize(2 * (frames + kBlockFrames));
        const int got = decoder.decode(stream->frames.data() + 2 * frames, kBlockFrames);
        frames += static_cast<std::size_t>(std::max(got, 0));
        if (2 * frames * sizeof(float) > limitBytes)
            return nullptr;
        if (got < kBlockFrames)
            break;
    }
    if (frames == 0)
        return nullptr;
    stream->frames.resize(2 * frames);
    stream->frames.shrink_to_fit();
    return stream;
}

std::list<CDecodedOggStreams::Entry>::iterator CDecodedOggStreams::lookUp(const QByteArray& file)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->file.constData() == file.constData() && it->file.size() == file.size())
            return it;
    return m_entries.end();
}

CDecodedOggStreams::StreamPointer CDecodedOggStreams::find(const QByteArray& file)
{
    std::unique_lock<std::mutex> lock(m_mutex, std::try_to_lock);
    if (!lock.owns_lock() || file.isEmpty())
        return nullptr;
    const auto it = lookUp(file);
    if (it != m_entries.end()) {
        m_entries.splice(m_entries.begin(), m_entries, it);
        return it->stream;
    }
    m_entries.push_front({file, nullptr, false});
    m_queue.push_back(file);
    if (!m_worker.joinable())
        m_worker = std::thread([this] { work(); });
    lock.unlock();
    m_wake.notify_one();
    return nullptr;
}

CDecodedOggStreams::StreamPointer CDecodedOggStreams::decodeNow(const QByteArray& file)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = lookUp(file);
        if (it != m_entries.end() && (it->stream || it->refused))
            return it->stream;
    }
    StreamPointer stream = decode(file, m_limit);
    std::lock_guard<std::mutex> lock(m_mutex);
    keep(file, stream);
    return stream;
}

void CDecodedOggStreams::keep(const QByteArray& file, StreamPointer stream)
{
    auto it = lookUp(file);
    if (it == m_entries.end()) {
        m_entries.push_front({file, nullptr, false});
        it = m_entries.begin();
    }
    if (it->stream)
        m_bytes -= it->stream->bytes();
    it->stream = std::move(stream);
    it->refused = !it->stream;
    if (it->stream)
        m_bytes += it->stream->bytes();
    // The least recently asked for go first; the file just kept stays.
    for (auto last = m_entries.end(); last != m_entries.begin() && (m_bytes > m_limit || m_entries.size() > kMaxEntries);) {
        --last;
        if (last == it || (!last->stream && !last->refused))
            continue;  // kept now, or waiting for the worker
        if (last->stream)
            m_bytes -= last->stream->bytes();
        last = m_entries.erase(last);
    }
}

void CDecodedOggStreams::waitIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

std::size_t CDecodedOggStreams::bytesHeld() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

void CDecodedOggStreams::work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            break;
        const QByteArray file = m_queue.front();
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        StreamPointer stream = decode(file, m_limit, &m_stopping);
        lock.lock();
        if (!m_stopping)
            keep(file, std::move(stream));
        m_busy = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
    m_busy = false;
    m_idle.notify_all();
}
