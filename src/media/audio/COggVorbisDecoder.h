#pragma once

#include <QByteArray>

#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include <cstddef>
#include <cstdint>

// What the identification header of a Vorbis stream says about it.
struct COggStreamInfo {
    std::int32_t version = 0;
    std::int32_t channels = 0;
    std::int32_t rate = 0;
    std::int32_t bitrateUpper = 0;
    std::int32_t bitrateNominal = 0;
    std::int32_t bitrateLower = 0;
    std::int32_t bitrateWindow = 0;
};

// Decodes the first logical Vorbis stream of an Ogg file held in memory. The
// file's bytes are shared with their owner (QByteArray shares its storage),
// so a decoder stays valid even when the item it came from changes or goes.
// Bytes reach the Ogg layer in chunks, as they would from a file.
class COggVorbisDecoder {
public:
    COggVorbisDecoder() = default;
    ~COggVorbisDecoder();

    COggVorbisDecoder(const COggVorbisDecoder&) = delete;
    COggVorbisDecoder& operator=(const COggVorbisDecoder&) = delete;

    // Reads the three header packets and readies synthesis: 1, or 0 when the
    // bytes are not an Ogg Vorbis stream (the decoder is then closed).
    int open(const QByteArray& file, std::size_t chunkSize);
    void close();
    bool isOpen() const { return m_blockReady; }
    const COggStreamInfo& info() const { return m_streamInfo; }

    // Up to `frames` frames at the stream's own rate, as interleaved
    // left/right floats: channels 0 and 1, or channel 0 twice for a mono
    // stream. Fewer frames than asked only when the stream has ended.
    int decode(float* out, int frames);
    bool ended() const { return m_ended; }

    // The stream information alone: 1, or 0 when the headers do not read.
    static int readInfo(const QByteArray& file, COggStreamInfo& info);

private:
    bool feed();
    bool nextPage(ogg_page& page);
    bool readHeaders();

    QByteArray m_file;
    std::size_t m_fed = 0;
    std::size_t m_chunk = 4096;
    bool m_ended = false;

    ogg_sync_state m_sync{};
    ogg_stream_state m_stream{};
    vorbis_info m_info{};
    vorbis_comment m_comment{};
    vorbis_dsp_state m_dsp{};
    vorbis_block m_block{};
    bool m_syncReady = false;
    bool m_streamReady = false;
    bool m_infoReady = false;
    bool m_dspReady = false;
    bool m_blockReady = false;
    COggStreamInfo m_streamInfo;
};
