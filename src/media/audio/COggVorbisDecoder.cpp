#include "media/audio/COggVorbisDecoder.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
// Below this a chunk only multiplies the calls into the Ogg layer; the
// decoded result does not depend on the chunk size.
constexpr std::size_t kSmallestChunk = 4096;

std::int32_t toInt32(long value)
{
    return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}
} // namespace

COggVorbisDecoder::~COggVorbisDecoder() { close(); }

void COggVorbisDecoder::close()
{
    if (m_blockReady)
        vorbis_block_clear(&m_block);
    if (m_dspReady)
        vorbis_dsp_clear(&m_dsp);
    if (m_infoReady) {
        vorbis_comment_clear(&m_comment);
        vorbis_info_clear(&m_info);
    }
    if (m_streamReady)
        ogg_stream_clear(&m_stream);
    if (m_syncReady)
        ogg_sync_clear(&m_sync);
    m_blockReady = m_dspReady = m_infoReady = m_streamReady = m_syncReady = false;
    m_file.clear();
    m_fed = 0;
    m_ended = false;
    m_streamInfo = COggStreamInfo();
}

bool COggVorbisDecoder::feed()
{
    const auto size = static_cast<std::size_t>(m_file.size());
    if (m_fed >= size)
        return false;
    const std::size_t n = std::min(m_chunk, size - m_fed);
    char* buffer = ogg_sync_buffer(&m_sync, static_cast<long>(n));
    if (!buffer)
        return false;
    std::memcpy(buffer, m_file.constData() + m_fed, n);
    if (ogg_sync_wrote(&m_sync, static_cast<long>(n)) != 0)
        return false;
    m_fed += n;
    return true;
}

bool COggVorbisDecoder::nextPage(ogg_page& page)
{
    for (;;) {
        const int r = ogg_sync_pageout(&m_sync, &page);
        if (r == 1)
            return true;
        if (r < 0)
            continue; // bytes skipped while looking for a page boundary
        if (!feed())
            return false;
    }
}

bool COggVorbisDecoder::readHeaders()
{
    ogg_page page;
    if (!nextPage(page))
        return false;
    if (ogg_stream_init(&m_stream, ogg_page_serialno(&page)) != 0)
        return false;
    m_streamReady = true;
    vorbis_info_init(&m_info);
    vorbis_comment_init(&m_comment);
    m_infoReady = true;

    ogg_packet packet;
    if (ogg_stream_pagein(&m_stream, &page) < 0 || ogg_stream_packetout(&m_stream, &packet) != 1
        || vorbis_synthesis_headerin(&m_info, &m_comment, &packet) < 0)
        return false;

    // The comment and setup headers may share the first page's successors
    // with each other or spread over several pages.
    int headers = 0;
    while (headers < 2) {
        const int r = ogg_stream_packetout(&m_stream, &packet);
        if (r < 0)
            return false;
        if (r == 1) {
            if (vorbis_synthesis_headerin(&m_info, &m_comment, &packet) < 0)
                return false;
            ++headers;
            continue;
        }
        if (!nextPage(page))
            return false;
        ogg_stream_pagein(&m_stream, &page); // pages of other logical streams are refused and skipped
    }
    if (m_info.channels < 1 || m_info.rate < 1)
        return false;
    if (vorbis_synthesis_init(&m_dsp, &m_info) != 0)
        return false;
    m_dspReady = true;
    if (vorbis_block_init(&m_dsp, &m_block) != 0)
        return false;
    m_blockReady = true;
    return true;
}

int COggVorbisDecoder::open(const QByteArray& file, std::size_t chunkSize)
{
    close();
    if (file.isEmpty())
        return 0;
    m_file = file;
    m_chunk = std::max(chunkSize, kSmallestChunk);
    ogg_sync_init(&m_sync);
    m_syncReady = true;
    if (!readHeaders()) {
        close();
        return 0;
    }
    m_streamInfo.version = m_info.version;
    m_streamInfo.channels = m_info.channels;
    m_streamInfo.rate = toInt32(m_info.rate);
    m_streamInfo.bitrateUpper = toInt32(m_info.bitrate_upper);
    m_streamInfo.bitrateNominal = toInt32(m_info.bitrate_nominal);
    m_streamInfo.bitrateLower = toInt32(m_info.bitrate_lower);
    m_streamInfo.bitrateWindow = toInt32(m_info.bitrate_window);
    return 1;
}

int COggVorbisDecoder::decode(float* out, int frames)
{
    if (!m_blockReady || frames <= 0)
        return 0;
    int produced = 0;
    while (produced < frames) {
        float** pcm = nullptr;
        const int available = vorbis_synthesis_pcmout(&m_dsp, &pcm);
        if (available > 0) {
            const int take = std::min(available, frames - produced);
            const float* left = pcm[0];
            const float* right = m_info.channels > 1 ? pcm[1] : pcm[0];
            float* o = out + 2 * produced;
            for (int i = 0; i < take; ++i) {
                o[2 * i] = left[i];
                o[2 * i + 1] = right[i];
            }
            vorbis_synthesis_read(&m_dsp, take);
            produced += take;
            continue;
        }
        if (m_ended)
            break;
        ogg_packet packet;
        const int r = ogg_stream_packetout(&m_stream, &packet);
        if (r == 1) {
            if (vorbis_synthesis(&m_block, &packet) == 0)
                vorbis_synthesis_blockin(&m_dsp, &m_block);
            continue;
        }
        if (r < 0)
            continue; // a gap in the stream: decoding goes on after it
        if (ogg_stream_eos(&m_stream)) {
            m_ended = true;
            continue;
        }
        ogg_page page;
        if (nextPage(page))
            ogg_stream_pagein(&m_stream, &page);
        else
            m_ended = true;
    }
    return produced;
}

int COggVorbisDecoder::readInfo(const QByteArray& file, COggStreamInfo& info)
{
    COggVorbisDecoder decoder;
    if (!decoder.open(file, kSmallestChunk))
        return 0;
    info = decoder.info();
    return 1;
}
