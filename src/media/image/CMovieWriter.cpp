#include "media/image/CMovieWriter.h"

#include "core/IPrompter.h"
#include "media/image/CFfmpegCodecState.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/FfmpegCalls.h"

#include <QFile>
#include <QPainter>
#include <QString>

#include <array>

// Everything FFmpeg hands out, freed in one place whatever step failed.
struct CMovieWriter::Encoder : CFfmpegCodecState {
    AVFormatContext* format = nullptr;
    AVStream* stream = nullptr;
    bool fileOpen = false;
    bool headerWritten = false;
    int width = 0;
    int height = 0;
    bool alpha = false;

    ~Encoder()
    {
        if (format) {
            if (fileOpen)
                ffmpeg()->avio_closep(&format->pb);
            ffmpeg()->avformat_free_context(format);
        }
    }
};

namespace {
// Pictures arrive as 32-bit B, G, R, X (or A); an encoder that takes that
// (or plain BGR) is fed directly, any other gets its first own format. A
// first frame with alpha keeps it where the encoder can store it.
AVPixelFormat choosePixelFormat(const AVCodec* codec, bool alpha)
{
    if (!codec->pix_fmts)
        return alpha ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24;
    static constexpr std::array<AVPixelFormat, 3> withAlpha = {AV_PIX_FMT_BGRA, AV_PIX_FMT_BGR0, AV_PIX_FMT_BGR24};
    static constexpr std::array<AVPixelFormat, 3> opaque = {AV_PIX_FMT_BGR0, AV_PIX_FMT_BGRA, AV_PIX_FMT_BGR24};
    for (const AVPixelFormat preferred : alpha ? withAlpha : opaque)
        for (const AVPixelFormat* f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f)
            if (*f == preferred)
                return preferred;
    return codec->pix_fmts[0];
}
} // namespace

CMovieWriter::CMovieWriter(IPrompter* prompter) : m_prompter(prompter) {}

CMovieWriter::~CMovieWriter()
{
    close();
}

int CMovieWriter::open(const std::string& filename, int framesPerSecond)
{
    close();
    QFile::remove(QString::fromStdString(filename));
    m_filename = filename;
    m_fps = framesPerSecond > 0 ? framesPerSecond : 1;
    m_frameIndex = 0;
    m_state = WaitingForFirstFrame;
    return 1;
}

void CMovieWriter::close()
{
    if (m_encoder && m_encoder->headerWritten) {
        // Flush what the encoder still holds, then finish the index.
        ffmpeg()->avcodec_send_frame(m_encoder->codec, nullptr);
        drainPackets();
        ffmpeg()->av_write_trailer(m_encoder->format);
    }
    m_encoder.reset();
    m_state = Closed;
}

void CMovieWriter::fail(const char* message)
{
    if (m_prompter)
        m_prompter->tell(message, IPrompter::Icon::Stop);
    close();
    // A movie that could not start is not a movie: leave no half-made file.
    QFile::remove(QString::fromStdString(m_filename));
    if (m_prompter)
        m_prompter->tell(kRenderingError, IPrompter::Icon::Stop);
}

int CMovieWriter::addFrame(const CDisplayBuffer& bitmap)
{
    const int w = bitmap.actualWidth(), h = bitmap.actualHeight();
    if (m_state == Closed || w < 1 || h < 1)
        return 0;
    QImage picture(w, h, QImage::Format_RGB32);
    if (picture.isNull())
        return 0;
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        bitmap.drawWithoutOffset(painter);
    }
    return addFrame(picture);
}

int CMovieWriter::addFrame(const QImage& frame)
{
    if (m_state == Closed || frame.isNull())
        return 0;
    if (m_state == WaitingForFirstFrame && !startMovie(frame))
        return 0;
    return writeFrame(frame);
}

int CMovieWriter::startMovie(const QImage& first)
{
    if (m_chooser) {
        const std::optional<CMovieCompression> chosen = m_chooser->chooseCompression(first.width(), first.height());
        if (!chosen) {
            // Cancelled: nothing to tell but that there is no movie.
            close();
            QFile::remove(QString::fromStdString(m_filename));
            if (m_prompter)
                m_prompter->tell(kRenderingError, IPrompter::Icon::Stop);
            return 0;
        }
        m_compression = *chosen;
    }
    if (!ffmpeg()) {
        fail(kCompressedStreamError);
        return 0;
    }
    auto enc = std::make_unique<Encoder>();
    enc->width = first.width();
    enc->height = first.height();

    if (ffmpeg()->avformat_alloc_output_context2(&enc->format, nullptr, "avi", m_filename.c_str()) < 0 || !enc->format) {
        fail(kFileError);
        return 0;
    }
    if (ffmpeg()->avio_open(&enc->format->pb, m_filename.c_str(), AVIO_FLAG_WRITE) < 0) {
        fail(kFileError);
        return 0;
    }
    enc->fileOpen = true;

    enc->stream = ffmpeg()->avformat_new_stream(enc->format, nullptr);
    if (!enc->stream) {
        fail(kStreamError);
        return 0;
    }
    ffmpeg()->av_dict_set(&enc->stream->metadata, "title", "Video Stream", 0);
    enc->stream->time_base = AVRational{1, m_fps};

    const AVCodec* codec = ffmpeg()->avcodec_find_encoder_by_name(m_compression.encoder.c_str());
    if (!codec || codec->type != AVMEDIA_TYPE_VIDEO) {
        fail(kCompressedStreamError);
        return 0;
    }
    enc->codec = ffmpeg()->avcodec_alloc_context3(codec);
    enc->frame = ffmpeg()->av_frame_alloc();
    enc->packet = ffmpeg()->av_packet_alloc();
    if (!enc->codec || !enc->frame || !enc->packet) {
        fail(kMemoryError);
        return 0;
    }
    enc->codec->width = enc->width;
    enc->codec->height = enc->height;
    enc->codec->time_base = AVRational{1, m_fps};
    enc->codec->framerate = AVRational{m_fps, 1};
    enc->codec->pix_fmt = choosePixelFormat(codec, first.hasAlphaChannel());
    enc->alpha = enc->codec->pix_fmt == AV_PIX_FMT_BGRA;
    enc->codec->sample_aspect_ratio = AVRational{1, 1};
    if (codec->id == AV_CODEC_ID_MJPEG)
        enc->codec->color_range = AVCOL_RANGE_JPEG; // full-range JPEG samples
    if (CMovieCompression::offer(m_compression.encoder).value_or(CMovieCompression::Offer{}).hasQuality) {
        // A fixed quality rather than the encoder's low default bit rate.
        enc->codec->flags |= AV_CODEC_FLAG_QSCALE;
        enc->codec->global_quality = FF_QP2LAMBDA * CMovieCompression::quantiser(m_compression.quality);
    }
    enc->codec->thread_count = 0; // as many as the encoder can use
    if (enc->format->oformat->flags & AVFMT_GLOBALHEADER)
        enc->codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (ffmpeg()->avcodec_open2(enc->codec, codec, nullptr) < 0) {
        fail(kCompressedStreamError);
        return 0;
    }
    if (ffmpeg()->avcodec_parameters_from_context(enc->stream->codecpar, enc->codec) < 0) {
        fail(kFormatError);
        return 0;
    }
    enc->frame->format = enc->codec->pix_fmt;
    enc->frame->width = enc->width;
    enc->frame->height = enc->height;
    if (ffmpeg()->av_frame_get_buffer(enc->frame, 0) < 0) {
        fail(kMemoryError);
        return 0;
    }
    enc->scaler = ffmpeg()->sws_getContext(enc->width, enc->height, AV_PIX_FMT_BGRA, enc->width, enc->height,
                                 enc->codec->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!enc->scaler || ffmpeg()->avformat_write_header(enc->format, nullptr) < 0) {
        fail(kFormatError);
        return 0;
    }
    enc->headerWritten = true;
    m_encoder = std::move(enc);
    m_state = Writing;
    return 1;
}

int CMovieWriter::writeFrame(const QImage& frame)
{
    Encoder& enc = *m_encoder;
    const QImage::Format format = enc.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QImage picture = frame.convertToFormat(format);
    if (picture.size() != QSize(enc.width, enc.height)) {
        QImage placed(enc.width, enc.height, format);
        placed.fill(Qt::black);
        QPainter painter(&placed);
        painter.drawImage(0, 0, picture);
        painter.end();
        picture = placed;
    }
    if (picture.isNull() || ffmpeg()->av_frame_make_writable(enc.frame) < 0)
        return 0;
    const uint8_t* sourcePlanes[1] = {picture.constBits()};
    const int sourceStrides[1] = {int(picture.bytesPerLine())};
    ffmpeg()->sws_scale(enc.scaler, sourcePlanes, sourceStrides, 0, enc.height, enc.frame->data, enc.frame->linesize);
    enc.frame->pts = m_frameIndex;
    if (ffmpeg()->avcodec_send_frame(enc.codec, enc.frame) < 0 || !drainPackets())
        return 0;
    ++m_frameIndex;
    return 1;
}

int CMovieWriter::drainPackets()
{
    Encoder& enc = *m_encoder;
    for (;;) {
        const int received = ffmpeg()->avcodec_receive_packet(enc.codec, enc.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return 1;
        if (received < 0)
            return 0;
        ffmpeg()->av_packet_rescale_ts(enc.packet, enc.codec->time_base, enc.stream->time_base);
        enc.packet->stream_index = enc.stream->index;
        const int written = ffmpeg()->av_interleaved_write_frame(enc.format, enc.packet);
        ffmpeg()->av_packet_unref(enc.packet);
        if (written < 0)
            return 0;
    }
}
