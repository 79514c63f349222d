#pragma once

#include <array>
#include <vector>

class CAnimationItem;
class CStepLock;

// Every change the frame editor makes to an animation's frames: the frame
// list's commands with their menu texts and enabling rules, the bitmap
// picker's Add to List, a drag in the frame list and the preview's offset
// gestures. Each edit holds the step lock it is given (the panel's), so a
// game step never reads the frame arrays while they are resized.
class CAnimationFrameEdits {
public:
    enum Command : int {
        MoveUp, MoveDown, Reverse, Remove, IncrementDelay, DecrementDelay, IncrementAllDelays, DecrementAllDelays,
        kCommandCount
    };
    // One entry of the frame list's context menu.
    struct Entry {
        Command command;
        const char* label;
        const char* shortcut;
        const char* help;
        bool separatorBefore;
    };
    static const std::array<Entry, kCommandCount>& entries();

    static constexpr const char* kAddLabel = "Add to List";
    static constexpr const char* kAddShortcut = "Space Bar";
    static constexpr const char* kAddHelp = "Add the current bitmap to the list of bitmaps";

    // What an edit did: whether anything changed, the frame row to select
    // afterwards (-1: none) and whether frames were added or removed.
    struct Outcome {
        bool changed = false;
        int row = -1;
        bool countChanged = false;
    };

    // Whether a command applies to an animation of `frameCount` frames whose
    // current row is `row` (-1: none).
    static bool enabled(Command command, int frameCount, int row);

    explicit CAnimationFrameEdits(CStepLock& lock) : m_lock(lock) {}

    // A disabled command changes nothing and keeps the row.
    Outcome run(CAnimationItem& animation, Command command, int row);
    // Appends one frame per bitmap, in the given order (delay 1, no offset);
    // the last one added is selected.
    Outcome addFrames(CAnimationItem& animation, const std::vector<int>& bitmaps);
    // Inserts one frame per bitmap before frame `at` (the end for -1 or
    // past it), in the given order; the last one inserted is selected.
    Outcome insertFrames(CAnimationItem& animation, int at, const std::vector<int>& bitmaps);
    // Puts frame `from` at `to`; the moved frame stays selected.
    Outcome moveFrame(CAnimationItem& animation, int from, int to);
    // Moves the offsets of frame `row` by (dx, dy), of every frame when row
    // is -1.
    Outcome moveOffsets(CAnimationItem& animation, int row, int dx, int dy);
    // Puts the offsets of frame `row` (every frame for -1) back to (0, 0).
    Outcome resetOffsets(CAnimationItem& animation, int row);
    // A typed delay (at least one step) for frame `row`; the row stays
    // selected. Nothing changes when it already had that delay.
    Outcome setDelay(CAnimationItem& animation, int row, int steps);
    // Frame `row` shows bitmap `bitmap` (-1: none) from now on.
    Outcome setBitmap(CAnimationItem& animation, int row, int bitmap);

private:
    CStepLock& m_lock;
};
