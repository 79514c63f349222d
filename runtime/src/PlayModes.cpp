#include "quillop/runtime/PlayModes.h"

namespace quillop {

std::string_view playModeText(int mode)
{
    if (mode < 0 || mode >= kPlayModeCount)
        return {};
    return kPlayModeTexts[static_cast<std::size_t>(mode)];
}

int playModeFromText(std::string_view text)
{
    for (int i = 0; i < kPlayModeCount; ++i)
        if (kPlayModeTexts[static_cast<std::size_t>(i)] == text)
            return i;
    return -1;
}

} // namespace quillop
