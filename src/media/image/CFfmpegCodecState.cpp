#include "media/image/CFfmpegCodecState.h"

#include "media/image/FfmpegCalls.h"

CFfmpegCodecState::~CFfmpegCodecState()
{
    // Without FFmpeg nothing was made here, so there is nothing to free.
    const FfmpegCalls* ff = ffmpeg();
    if (!ff)
        return;
    ff->sws_freeContext(scaler);
    ff->av_packet_free(&packet);
    ff->av_frame_free(&frame);
    ff->avcodec_free_context(&codec);
}
