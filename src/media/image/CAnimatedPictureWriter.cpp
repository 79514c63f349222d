#include "media/image/CAnimatedPictureWriter.h"

#include "media/image/FfmpegCalls.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cstring>
#include <map>

namespace {
// The encoder's pieces, freed whatever the way out.
struct Encoding {
    explicit Encoding(const FfmpegCalls& calls) : f(calls) {}
    Encoding(const Encoding&) = delete;
    Encoding& operator=(const Encoding&) = delete;

    const FfmpegCalls& f;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    bool opened = false;
    std::map<std::int64_t, int> durations;  // by presentation time, for the packets

    ~Encoding()
    {
        if (opened)
            f.avio_closep(&format->pb);
        f.av_frame_free(&frame);
        f.av_packet_free(&packet);
        f.avcodec_free_context(&codec);
        if (format)
            f.avformat_free_context(format);
    }

    // Writes the packets the encoder has ready; false on a failure.
    bool drain()
    {
        for (;;) {
            const int got = f.avcodec_receive_packet(codec, packet);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return true;
            if (got < 0)
                return false;
            if (const auto d = durations.find(packet->pts); d != durations.end())
                packet->duration = d->second;
            f.av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (f.av_interleaved_write_frame(format, packet) < 0)
                return false;
        }
    }
};

// A frame of at most 255 colours after its alpha is cut at half, with
// index 0 for transparent pixels: exact, where a generic conversion would
// dither pictures of few colours whose edges fade out.
bool fillExactly(AVFrame& frame, const QImage& straight)
{
    QHash<QRgb, int> index{{0u, 0}};
    auto* palette = reinterpret_cast<std::uint32_t*>(frame.data[1]);
    std::fill(palette, palette + 256, 0u);
    for (int y = 0; y < straight.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        std::uint8_t* out = frame.data[0] + std::ptrdiff_t(y) * frame.linesize[0];
        for (int x = 0; x < straight.width(); ++x) {
            const QRgb colour = qAlpha(line[x]) < 128 ? 0u : (line[x] | 0xff000000u);
            auto found = index.constFind(colour);
            if (found == index.constEnd()) {
                if (index.size() == 256)
                    return false;
                palette[index.size()] = colour;
                found = index.insert(colour, int(index.size()));
            }
            out[x] = std::uint8_t(found.value());
        }
    }
    return true;
}

// The picture in the frame's layout: palette indexes and a palette of
// 0xAARRGGBB words for a GIF, RGBA bytes for an APNG.
void fill(AVFrame& frame, const QImage& picture, bool paletted)
{
    if (paletted) {
        const QImage straight = picture.convertToFormat(QImage::Format_ARGB32);
        if (fillExactly(frame, straight))
            return;
        const QImage indexed = straight.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdAlphaDither | Qt::PreferDither);
        for (int y = 0; y < indexed.height(); ++y)
            std::memcpy(frame.data[0] + std::ptrdiff_t(y) * frame.linesize[0], indexed.constScanLine(y), std::size_t(indexed.width()));
        auto* palette = reinterpret_cast<std::uint32_t*>(frame.data[1]);
        const QList<QRgb> colours = indexed.colorTable();
        for (int i = 0; i < 256; ++i)
            palette[i] = i < colours.size() ? colours[i] : 0;
        return;
    }
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    for (int y = 0; y < rgba.height(); ++y)
        std::memcpy(frame.data[0] + std::ptrdiff_t(y) * frame.linesize[0], rgba.constScanLine(y), std::size_t(rgba.width()) * 4);
}
} // namespace

QString CAnimatedPictureWriter::write(const QString& path, Format format, const std::vector<Frame>& frames)
{
    const FfmpegCalls* f = ffmpeg();
    if (!f)
        return QStringLiteral("FFmpeg cannot be loaded: %1").arg(QString::fromStdString(ffmpegLoadError()));
    if (frames.empty() || frames.front().picture.isNull())
        return QStringLiteral("there is no picture to write");
    const bool gif = format == Format::Gif;
    const QSize size = frames.front().picture.size();
    const QByteArray name = QFile::encodeName(path);
    Encoding e(*f);
    const auto failed = [&](const QString& why) {
        if (e.opened) {
            f->avio_closep(&e.format->pb);
            e.opened = false;
            QFile::remove(path);
        }
        return QStringLiteral("%1: %2").arg(path, why);
    };
    if (f->avformat_alloc_output_context2(&e.format, nullptr, gif ? "gif" : "apng", name.constData()) < 0 || !e.format)
        return failed(QStringLiteral("this FFmpeg cannot write that format"));
    const AVCodec* codec = f->avcodec_find_encoder_by_name(gif ? "gif" : "apng");
    e.stream = codec ? f->avformat_new_stream(e.format, nullptr) : nullptr;
    e.codec = e.stream ? f->avcodec_alloc_context3(codec) : nullptr;
    e.frame = f->av_frame_alloc();
    e.packet = f->av_packet_alloc();
    if (!e.codec || !e.frame || !e.packet)
        return failed(QStringLiteral("this FFmpeg has no encoder for it"));
    e.codec->width = size.width();
    e.codec->height = size.height();
    e.codec->pix_fmt = gif ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_RGBA;
    e.codec->time_base = AVRational{1, 1000};
    if (e.format->oformat->flags & AVFMT_GLOBALHEADER)
        e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (f->avcodec_open2(e.codec, codec, nullptr) < 0 || f->avcodec_parameters_from_context(e.stream->codecpar, e.codec) < 0)
        return failed(QStringLiteral("the encoder refused the pictures"));
    e.stream->time_base = e.codec->time_base;
    if (f->avio_open(&e.format->pb, name.constData(), AVIO_FLAG_WRITE) < 0)
        return failed(QStringLiteral("cannot be written"));
    e.opened = true;
    // Played in a loop, as the editor plays animations. Both formats take
    // the last frame's time from the muxer, not from its packet.
    AVDictionary* options = nullptr;
    f->av_dict_set(&options, gif ? "loop" : "plays", "0", 0);
    const int lastMs = std::max(1, frames.back().durationMs);
    const QByteArray lastDelay = gif ? QByteArray::number((lastMs + 5) / 10) : QByteArray::number(lastMs) + "/1000";
    f->av_dict_set(&options, "final_delay", lastDelay.constData(), 0);
    const int header = f->avformat_write_header(e.format, &options);
    f->av_dict_free(&options);
    if (header < 0)
        return failed(QStringLiteral("the file's header could not be written"));

    std::int64_t at = 0;
    for (const Frame& frame : frames) {
        e.frame->format = e.codec->pix_fmt;
        e.frame->width = size.width();
        e.frame->height = size.height();
        if (f->av_frame_get_buffer(e.frame, 0) < 0)
            return failed(QStringLiteral("out of memory"));
        fill(*e.frame, frame.picture.size() == size ? frame.picture : frame.picture.copy(QRect(QPoint(0, 0), size)), gif);
        e.frame->pts = at;
        e.durations[at] = frame.durationMs;
        at += std::max(1, frame.durationMs);
        const int sent = f->avcodec_send_frame(e.codec, e.frame);
        f->av_frame_unref(e.frame);
        if (sent < 0 || !e.drain())
            return failed(QStringLiteral("a frame could not be encoded"));
    }
    if (f->avcodec_send_frame(e.codec, nullptr) < 0 || !e.drain() || f->av_write_trailer(e.format) < 0)
        return failed(QStringLiteral("the file could not be finished"));
    return {};
}
