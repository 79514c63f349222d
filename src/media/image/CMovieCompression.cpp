#include "media/image/CMovieCompression.h"

#include "media/image/FfmpegCalls.h"
#include <algorithm>


namespace {
const CMovieCompression::Offer kOffers[] = {
    {"mjpeg", "Motion JPEG", true},
    {"ffv1", "FFV1 (lossless)", false},
    {"mpeg4", "MPEG-4 Part 2", true},
    {"rawvideo", "Uncompressed RGB", false},
};
} // namespace

std::vector<CMovieCompression::Offer> CMovieCompression::offered()
{
    std::vector<Offer> list;
    if (!ffmpeg())
        return list;
    for (const Offer& o : kOffers)
        if (ffmpeg()->avcodec_find_encoder_by_name(o.encoder))
            list.push_back(o);
    return list;
}

std::optional<CMovieCompression::Offer> CMovieCompression::offer(const std::string& encoder)
{
    for (const Offer& o : offered())
        if (encoder == o.encoder)
            return o;
    return std::nullopt;
}

int CMovieCompression::quantiser(int quality)
{
    const int q = std::clamp(quality, 1, 100);
    // 100 gives 2 (1 is reserved by some encoders), 1 gives 31.
    return 31 - (q - 1) * 29 / 99;
}
