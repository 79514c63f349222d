#include "media/image/CFfmpegCodecState.h"

#include "media/image/FfmpegCalls.h"

CFfmpegCodecState::~CFfmpegCodecState()
{
    // Only made once FFmpeg is loaded.
    const FfmpegCalls& ff = *ffmpeg();
    ff.sws_freeContext(scaler);
    ff.av_packet_free(&packet);
    ff.av_frame_free(&frame);
    ff.avcodec_free_context(&codec);
}
