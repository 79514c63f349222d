#pragma once

#include <optional>
#include <string>
#include <vector>

// How a movie is compressed: the FFmpeg encoder and, for the encoders that
// have one, a quality from 1 (smallest file) to 100 (best picture).
struct CMovieCompression {
    static constexpr int kDefaultQuality = 90;

    std::string encoder = "mjpeg";
    int quality = kDefaultQuality;

    // One encoder the movie writer offers.
    struct Offer {
        const char* encoder;
        const char* title;
        bool hasQuality;
    };
    // The encoders offered for AVI movies, those this FFmpeg build lacks left out.
    static std::vector<Offer> offered();
    static std::optional<Offer> offer(const std::string& encoder);
    // The encoder's fixed quantiser for a quality (31 coarsest .. 1 finest).
    static int quantiser(int quality);
};

// Asked once per movie, before the first frame is compressed: the editor
// shows a choice remembered between runs, the command line passes its
// option. No answer cancels the movie.
class ICompressionChooser {
public:
    virtual ~ICompressionChooser() = default;
    virtual std::optional<CMovieCompression> chooseCompression(int width, int height) = 0;
};
