#include "kinds/animations/CAnimationFrameEdits.h"

#include "core/CStepLock.h"
#include "kinds/animations/CAnimationItem.h"

#include <algorithm>

const std::array<CAnimationFrameEdits::Entry, CAnimationFrameEdits::kCommandCount>& CAnimationFrameEdits::entries()
{
    static const std::array<Entry, kCommandCount> table{{
        {MoveUp, "Move Index &Up", "Ctrl Up", "Move the current bitmap one step up in the list", false},
        {MoveDown, "Move Index &Down", "Ctrl Down", "Move the current bitmap one step down in the list", false},
        {Reverse, "&Reverse All Indexs Order", "", "Reverse the items order of the list", false},
        {Remove, "Remove From List", "Space Bar", "Remove the current bitmap from the list of bitmaps", true},
        {IncrementDelay, "Increment Delay", "Num +", "Increment the delay of the selected bitmap", false},
        {DecrementDelay, "Decrement Delay", "Num -", "Decrement the delay of the selected bitmap", false},
        {IncrementAllDelays, "Increment All Delays", "Shift Num +", "Increment the delay of all the bitmaps", false},
        {DecrementAllDelays, "Decrement All Delays", "Shift Num -", "Decrement the delay of all the bitmaps", false},
    }};
    return table;
}

bool CAnimationFrameEdits::enabled(Command command, int frameCount, int row)
{
    const bool current = row >= 0 && row < frameCount;
    switch (command) {
    case MoveUp: return current && row >= 1;
    case MoveDown: return current && row < frameCount - 1;
    case Reverse:
    case IncrementAllDelays:
    case DecrementAllDelays: return frameCount > 0;
    case Remove:
    case IncrementDelay:
    case DecrementDelay: return current;
    default: return false;
    }
}

CAnimationFrameEdits::Outcome CAnimationFrameEdits::run(CAnimationItem& animation, Command command, int row)
{
    Outcome outcome{false, row, false};
    if (!enabled(command, animation.frameCount(), row))
        return outcome;
    CStepLock::CHold hold(m_lock);
    switch (command) {
    case MoveUp:
        outcome.changed = animation.moveFrameUp(row);
        outcome.row = row - 1;
        break;
    case MoveDown:
        outcome.changed = animation.moveFrameDown(row);
        outcome.row = row + 1;
        break;
    case Reverse: outcome.changed = animation.reverseFrames(); break;
    case Remove:
        outcome.changed = outcome.countChanged = animation.removeFrame(row);
        // The frame that took its place, or the new last one.
        outcome.row = std::min(row, animation.frameCount() - 1);
        break;
    case IncrementDelay: outcome.changed = animation.incrementDelay(row); break;
    case DecrementDelay: outcome.changed = animation.decrementDelay(row); break;
    case IncrementAllDelays: outcome.changed = animation.incrementAllDelays(); break;
    case DecrementAllDelays: outcome.changed = animation.decrementAllDelays(); break;
    default: break;
    }
    if (!outcome.changed)
        outcome.row = row;
    return outcome;
}

CAnimationFrameEdits::Outcome CAnimationFrameEdits::addFrames(CAnimationItem& animation,
                                                              const std::vector<int>& bitmaps)
{
    if (bitmaps.empty())
        return {};
    CStepLock::CHold hold(m_lock);
    int last = -1;
    for (int bitmap : bitmaps)
        last = animation.addFrame(bitmap);
    return {true, last, true};
}

CAnimationFrameEdits::Outcome CAnimationFrameEdits::insertFrames(CAnimationItem& animation, int at,
                                                                 const std::vector<int>& bitmaps)
{
    if (bitmaps.empty())
        return {};
    CStepLock::CHold hold(m_lock);
    const int start = at < 0 || at > animation.frameCount() ? animation.frameCount() : at;
    int row = start;
    for (int bitmap : bitmaps) {
        // Appended, then moved into place: one rule for where frames go.
        animation.moveFrame(animation.addFrame(bitmap), row);
        ++row;
    }
    return {true, row - 1, true};
}

CAnimationFrameEdits::Outcome CAnimationFrameEdits::moveFrame(CAnimationItem& animation, int from, int to)
{
    CStepLock::CHold hold(m_lock);
    const bool moved = animation.moveFrame(from, to);
    return {moved, moved ? to : from, false};
}

CAnimationFrameEdits::Outcome CAnimationFrameEdits::moveOffsets(CAnimationItem& animation, int row, int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return {false, row, false};
    CStepLock::CHold hold(m_lock);
    const bool moved = row < 0 ? animation.moveAllFrameOffsets(dx, dy) : animation.moveFrameOffsets(row, dx, dy);
    return {moved, row, false};
}

CAnimationFrameEdits::Outcome CAnimationFrameEdits::resetOffsets(CAnimationItem& animation, int row)
{
    CStepLock::CHold hold(m_lock);
    const bool reset = row < 0 ? animation.resetAllFrameOffsets() : animation.resetFrameOffsets(row);
    return {reset, row, false};
}

namespace {
// One field of one frame set to a value; false when it had it already.
template <typename Field>
bool setFrameField(CAnimationItem& animation, int row, Field field, std::int32_t value)
{
    const CAnimationFrame* frame = animation.frame(row);
    if (!frame || (*frame).*field == value)
        return false;
    CAnimationFrame changed = *frame;
    changed.*field = value;
    return animation.setFrame(row, changed) != 0;
}
} // namespace

CAnimationFrameEdits::Outcome CAnimationFrameEdits::setDelay(CAnimationItem& animation, int row, int steps)
{
    CStepLock::CHold hold(m_lock);
    return {setFrameField(animation, row, &CAnimationFrame::delay, std::max(steps, 1)), row, false};
}

CAnimationFrameEdits::Outcome CAnimationFrameEdits::setBitmap(CAnimationItem& animation, int row, int bitmap)
{
    CStepLock::CHold hold(m_lock);
    return {setFrameField(animation, row, &CAnimationFrame::bitmap, bitmap), row, false};
}
