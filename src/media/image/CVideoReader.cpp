#include "media/image/CVideoReader.h"

#include "media/image/CFfmpegCodecState.h"
#include "media/image/FfmpegCalls.h"

#include <cmath>


// Everything FFmpeg hands out, freed in one place.
struct CVideoReader::Decoder : CFfmpegCodecState {
    AVFormatContext* format = nullptr;
    int streamIndex = -1;
    bool drained = false;

    ~Decoder() { ffmpeg()->avformat_close_input(&format); }
};

CVideoReader::CVideoReader() = default;

CVideoReader::~CVideoReader() = default;

void CVideoReader::close()
{
    m_decoder.reset();
    m_width = m_height = 0;
    m_fps = 0.0;
    m_frameCount = 0;
    m_hasAlpha = false;
}

int CVideoReader::open(const std::string& filename)
{
    close();
    if (!ffmpeg())
        return 0;
    auto dec = std::make_unique<Decoder>();
    if (ffmpeg()->avformat_open_input(&dec->format, filename.c_str(), nullptr, nullptr) < 0)
        return 0;
    if (ffmpeg()->avformat_find_stream_info(dec->format, nullptr) < 0)
        return 0;
    const AVCodec* codec = nullptr;
    dec->streamIndex = ffmpeg()->av_find_best_stream(dec->format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (dec->streamIndex < 0 || !codec)
        return 0;
    AVStream* stream = dec->format->streams[dec->streamIndex];
    dec->codec = ffmpeg()->avcodec_alloc_context3(codec);
    dec->frame = ffmpeg()->av_frame_alloc();
    dec->packet = ffmpeg()->av_packet_alloc();
    if (!dec->codec || !dec->frame || !dec->packet)
        return 0;
    dec->codec->thread_count = 0; // as many as the decoder can use
    if (ffmpeg()->avcodec_parameters_to_context(dec->codec, stream->codecpar) < 0 || ffmpeg()->avcodec_open2(dec->codec, codec, nullptr) < 0)
        return 0;
    if (dec->codec->width < 1 || dec->codec->height < 1)
        return 0;

    m_width = dec->codec->width;
    m_height = dec->codec->height;
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    m_fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    m_frameCount = stream->nb_frames;
    if (m_frameCount <= 0 && m_fps > 0) {
        const double seconds = stream->duration != AV_NOPTS_VALUE ? stream->duration * av_q2d(stream->time_base)
                               : dec->format->duration != AV_NOPTS_VALUE
                                   ? double(dec->format->duration) / AV_TIME_BASE
                                   : 0.0;
        m_frameCount = static_cast<std::int64_t>(std::llround(seconds * m_fps));
    }
    const AVPixFmtDescriptor* descriptor = ffmpeg()->av_pix_fmt_desc_get(dec->codec->pix_fmt);
    m_hasAlpha = descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA);
    m_decoder = std::move(dec);
    return 1;
}

int CVideoReader::readFrame(QImage& picture)
{
    if (!m_decoder)
        return 0;
    Decoder& dec = *m_decoder;
    for (;;) {
        const int received = ffmpeg()->avcodec_receive_frame(dec.codec, dec.frame);
        if (received == 0)
            return receiveFrame(picture);
        if (received != AVERROR(EAGAIN))
            return 0;
        if (dec.drained)
            return 0;
        // Feed packets of our stream until the decoder has a picture; at the
        // end of the file, flush what it still holds.
        int read = 0;
        while ((read = ffmpeg()->av_read_frame(dec.format, dec.packet)) >= 0 && dec.packet->stream_index != dec.streamIndex)
            ffmpeg()->av_packet_unref(dec.packet);
        if (read < 0) {
            dec.drained = true;
            ffmpeg()->avcodec_send_packet(dec.codec, nullptr);
            continue;
        }
        const int sent = ffmpeg()->avcodec_send_packet(dec.codec, dec.packet);
        ffmpeg()->av_packet_unref(dec.packet);
        if (sent < 0 && sent != AVERROR(EAGAIN))
            return 0;
    }
}

int CVideoReader::receiveFrame(QImage& picture)
{
    Decoder& dec = *m_decoder;
    // Frames may change size mid-stream; they are scaled to the size the
    // stream announced so that every picture of one file matches.
    dec.scaler = ffmpeg()->sws_getCachedContext(dec.scaler, dec.frame->width, dec.frame->height,
                                      static_cast<AVPixelFormat>(dec.frame->format), m_width, m_height,
                                      AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!dec.scaler) {
        ffmpeg()->av_frame_unref(dec.frame);
        return 0;
    }
    if (picture.size() != QSize(m_width, m_height) || picture.format() != QImage::Format_ARGB32)
        picture = QImage(m_width, m_height, QImage::Format_ARGB32);
    if (picture.isNull()) {
        ffmpeg()->av_frame_unref(dec.frame);
        return 0;
    }
    uint8_t* planes[1] = {picture.bits()};
    const int strides[1] = {int(picture.bytesPerLine())};
    const int rows = ffmpeg()->sws_scale(dec.scaler, dec.frame->data, dec.frame->linesize, 0, dec.frame->height, planes, strides);
    ffmpeg()->av_frame_unref(dec.frame);
    return rows > 0 ? 1 : 0;
}
