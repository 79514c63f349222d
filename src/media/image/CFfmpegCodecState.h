#pragma once

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// The codec, frame, packet and scaler a movie reader or writer gets from
// FFmpeg, freed in one place whatever step failed. The container, which
// reading and writing close differently, stays with the owner.
struct CFfmpegCodecState {
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;

    CFfmpegCodecState() = default;
    CFfmpegCodecState(const CFfmpegCodecState&) = delete;
    CFfmpegCodecState& operator=(const CFfmpegCodecState&) = delete;
    ~CFfmpegCodecState();
};
