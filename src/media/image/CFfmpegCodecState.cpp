#include "media/image/CFfmpegCodecState.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

CFfmpegCodecState::~CFfmpegCodecState()
{
    sws_freeContext(scaler);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
}
