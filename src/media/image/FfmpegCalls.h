#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <string>

// The FFmpeg functions the movie reader and writer call. FFmpeg and the
// hundred-odd libraries it brings are loaded the first time a movie is read
// or written, not when a program starts: every run of the editor and of
// quillop-cli would otherwise pay for loading them, though few touch a
// movie.
#define QUILLOP_FFMPEG_CALLS(CALL)                                                                                      \
    CALL(av_dict_free) CALL(av_dict_set) CALL(av_find_best_stream) CALL(av_frame_alloc) CALL(av_frame_free) CALL(av_frame_get_buffer)     \
    CALL(av_frame_make_writable) CALL(av_frame_unref) CALL(av_interleaved_write_frame) CALL(av_packet_alloc)           \
    CALL(av_packet_free) CALL(av_packet_rescale_ts) CALL(av_packet_unref) CALL(av_pix_fmt_desc_get)                    \
    CALL(av_read_frame) CALL(av_write_trailer) CALL(avcodec_alloc_context3) CALL(avcodec_find_encoder_by_name)         \
    CALL(avcodec_free_context) CALL(avcodec_open2) CALL(avcodec_parameters_from_context)                               \
    CALL(avcodec_parameters_to_context) CALL(avcodec_receive_frame) CALL(avcodec_receive_packet)                       \
    CALL(avcodec_send_frame) CALL(avcodec_send_packet) CALL(avformat_alloc_output_context2) CALL(avformat_close_input) \
    CALL(avformat_find_stream_info) CALL(avformat_free_context) CALL(avformat_new_stream) CALL(avformat_open_input)    \
    CALL(avformat_write_header) CALL(avio_closep) CALL(avio_open) CALL(sws_freeContext) CALL(sws_getCachedContext)     \
    CALL(sws_getContext) CALL(sws_scale)

struct FfmpegCalls {
#define QUILLOP_FFMPEG_POINTER(name) decltype(&::name) name = nullptr;
    QUILLOP_FFMPEG_CALLS(QUILLOP_FFMPEG_POINTER)
#undef QUILLOP_FFMPEG_POINTER
};

// The calls, the libraries loaded on the first request (from any thread);
// null when they cannot be loaded, and ffmpegLoadError() then says why.
const FfmpegCalls* ffmpeg();
std::string ffmpegLoadError();
