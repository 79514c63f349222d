#include "kinds/animations/CAnimationFrameTexts.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/CFrameDelay.h"

#include <cstdio>

// The numbers go through a fixed buffer; IDs and other texts come from files
// and have no length bound, so they are appended rather than formatted.

std::string CAnimationFrameTexts::pickerRow(const CResourceHolder& document, int bitmap)
{
    const CResourceItem* item = document.get(GroupBitmaps, bitmap);
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%d - ", bitmap);
    return prefix + (item ? item->id() : std::string());
}

std::string CAnimationFrameTexts::frameRow(const CResourceHolder& document, const CAnimationItem& animation, int frame)
{
    const CAnimationFrame* f = animation.frame(frame);
    if (!f)
        return {};
    const CResourceItem* bitmap = document.get(GroupBitmaps, f->bitmap);
    char prefix[96];
    std::snprintf(prefix, sizeof prefix, "%d - [ %dx %d ] - <%d, %d> - ", frame, int(f->delay), int(f->bitmap),
                  int(f->offsetX), int(f->offsetY));
    return prefix + (bitmap ? bitmap->id() : std::string("None / Out of Range"));
}

namespace {
// A signed number with the minus sign of typesetting, so that "−1" does not
// read as a dash between two words.
std::string signedNumber(int value)
{
    const std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
    return value < 0 ? "\u2212" + digits : digits;
}
} // namespace

std::string CAnimationFrameTexts::plainFrameRow(const CResourceHolder& document, const CAnimationItem& animation,
                                                int frame, int stepMs)
{
    const CAnimationFrame* f = animation.frame(frame);
    if (!f)
        return {};
    const CResourceItem* bitmap = document.get(GroupBitmaps, f->bitmap);
    const std::string dot = " \u00B7 ";
    const std::string name = bitmap ? bitmap->id() : f->bitmap < 0 ? "no bitmap" : "missing bitmap " + std::to_string(f->bitmap);
    return std::to_string(frame) + dot + name + dot + std::to_string(CFrameDelay::milliseconds(f->delay, stepMs))
           + " ms" + dot + "offset " + signedNumber(f->offsetX) + ", " + signedNumber(f->offsetY);
}

std::string CAnimationFrameTexts::previewText(const std::string& frameRateText, int frameIndex, int frameCount,
                                              double remaining)
{
    // "%.2f" of a huge time left is long; 400 characters hold any double.
    char numbers[448];
    std::snprintf(numbers, sizeof numbers, "\n%d/%d\n%.2f", frameIndex, frameCount, remaining);
    return frameRateText + numbers;
}
