#pragma once

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Ogg Vorbis files decoded whole, once, into the stereo floats voices play.
// Decoding costs many times what mixing the decoded frames does, so it is
// kept off the filling of the output buffers: a voice that starts a file no one decoded yet
// decodes it as it plays while a worker thread decodes it whole, and from
// then on every voice playing the file (this one included, at the frame it
// has reached; and every loop) only reads the frames. The frames held are
// bounded: a file whose frames would not fit is never kept (its voices go
// on decoding as they play), and the files least recently asked for are
// let go to make room; a voice still playing one keeps its frames alive.
class CDecodedOggStreams {
public:
    struct Stream {
        // Interleaved left/right, channel 0 twice for a mono file.
        std::vector<float> frames;
        int rate = 0;
        std::size_t frameCount() const { return frames.size() / 2; }
        std::size_t bytes() const { return frames.size() * sizeof(float); }
    };
    using StreamPointer = std::shared_ptr<const Stream>;

    // About 3 minutes of 44.1 kHz sound.
    static constexpr std::size_t kDefaultLimitBytes = std::size_t(64) << 20;

    explicit CDecodedOggStreams(std::size_t limitBytes = kDefaultLimitBytes);
    // Stops the decoding under way and waits for the worker; the files
    // still waiting are not decoded.
    ~CDecodedOggStreams();
    CDecodedOggStreams(const CDecodedOggStreams&) = delete;
    CDecodedOggStreams& operator=(const CDecodedOggStreams&) = delete;

    // The one the editor's voices share.
    static CDecodedOggStreams& shared();

    // The file's frames when they are held; null otherwise, and then the
    // worker is asked to decode it (once; never a file that does not fit or
    // does not decode). Never waits for the worker: while a buffer is filled
    // a lookup that would have to wait answers null and asks again later.
    StreamPointer find(const QByteArray& file);
    // Decodes the file on the caller's thread, keeps it and answers its
    // frames (null when it does not decode or does not fit).
    StreamPointer decodeNow(const QByteArray& file);
    // Returns once the worker has nothing left to do.
    void waitIdle();

    std::size_t bytesHeld() const;
    std::size_t limitBytes() const { return m_limit; }

    // The whole file decoded, or null when it does not decode or its frames
    // would take more than `limitBytes`.
    // `stop` is looked at between blocks: when it is set the decoding gives up.
    static std::shared_ptr<Stream> decode(const QByteArray& file, std::size_t limitBytes,
                                          const std::atomic<bool>* stop = nullptr);

private:
    struct Entry {
        // Keeps the bytes, so that the address that names them is not
        // given to other bytes while the entry lasts.
        QByteArray file;
        StreamPointer stream;
        // Found not to decode, or not to fit: not asked for again.
        bool refused = false;
    };
    // Files no longer held are forgotten beyond this many, refused ones too.
    static constexpr std::size_t kMaxEntries = 256;
    std::list<Entry>::iterator lookUp(const QByteArray& file);
    void keep(const QByteArray& file, StreamPointer stream);
    void work();

    const std::size_t m_limit;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    // Most recently asked for first.
    std::list<Entry> m_entries;
    std::size_t m_bytes = 0;
    std::deque<QByteArray> m_queue;
    bool m_busy = false;
    std::atomic<bool> m_stopping{false};
    std::thread m_worker;
};
