#pragma once

#include <string>

// The numbered names of extracted frames: the destination's file name with
// "_" and the frame number in six digits appended, and with "_ALPHA" and
// the number for the alpha pictures; same folder and extension.
// "out/frames.bmp", 1 gives "out/frames_000001.bmp" and
// "out/frames_ALPHA000001.bmp".
class CFrameFileNames {
public:
    static std::string picture(const std::string& destination, int frame);
    static std::string alpha(const std::string& destination, int frame);

private:
    static std::string numbered(const std::string& destination, const char* tag, int frame);
};
