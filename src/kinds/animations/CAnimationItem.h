#pragma once

#include "core/CItemReferences.h"
#include "core/CResourceItem.h"
#include "quillop/runtime/CFrameCursor.h"

#include <cstdint>
#include <string>
#include <vector>

// One frame of an animation: the bitmap shown (a row of the Bitmaps group,
// -1 for none), how many game steps it stays, and where it is moved to.
struct CAnimationFrame {
    std::int32_t bitmap = -1;
    std::int32_t delay = 1;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;

    bool operator==(const CAnimationFrame&) const = default;
};

// An animation of the Animations group: an ordered list of frames and the
// play mode that says in which order they are shown. The frames are kept as
// one list of records, so bitmap, delay and offsets of a frame can never come
// apart.
//
// The frame-editing operations are the editor's commands; each answers 1
// when it changed something and 0 when the frame index was not valid or
// there was nothing to do.
class CAnimationItem : public CResourceItem, public IItemReferences, public quillop::IAnimationFrames {
public:
    static constexpr std::int32_t kTypeBitmaps = 1;
    // Bytes of one stored frame: four coded integers.
    static constexpr int kStoredFrameBytes = 16;

    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;
    void renumberReferences(int group, const CIndexChange& change) override { followRowChange(group, change); }
    // Each frame's bitmap.
    void forEachReference(const std::function<bool(const CItemReference&)>& visit) const override;
    void setReference(const CItemReference& reference, int index) override;
    std::string referencePlace(const CItemReference& reference) const override;
    bool refersToItems() const override { return true; }

    // Type 1, no frames, "Forward Loop".
    void clear();

    std::int32_t animationType() const { return m_type; }
    void setAnimationType(std::int32_t type) { m_type = type; }
    // "Bitmaps" for type 1; other types have no name and are never drawn.
    static const char* typeText(std::int32_t type);
    std::int32_t playMode() const override { return m_playMode; }
    void setPlayMode(std::int32_t mode) { m_playMode = mode; }

    int frameCount() const override { return static_cast<int>(m_frames.size()); }
    int frameDelay(int i) const override { return m_frames[static_cast<std::size_t>(i)].delay; }
    bool validFrame(int i) const { return i >= 0 && i < frameCount(); }
    const std::vector<CAnimationFrame>& frames() const { return m_frames; }
    // Frame i, or nullptr.
    const CAnimationFrame* frame(int i) const;
    // Replaces frame i; 0 when i is not a frame.
    int setFrame(int i, const CAnimationFrame& frame);

    // "%d Frames".
    std::string specsText() const;

    // Reference keeping for the Bitmaps group, in the two forms older callers
    // use: every frame bitmap in first..last (inclusive) gets delta added;
    // every frame bitmap equal to `from` becomes `to`. Answer how many
    // frames changed.
    int addToBitmapsInRange(int first, int last, int delta);
    int replaceBitmap(int from, int to);

    // --- frame editing --------------------------------------------------
    // Appends a frame; its index.
    int addFrame(std::int32_t bitmap, std::int32_t delay = 1, std::int32_t offsetX = 0, std::int32_t offsetY = 0);
    int removeFrame(int i);
    // Swap with the frame before / after; the selection follows to i-1 / i+1.
    int moveFrameUp(int i);
    int moveFrameDown(int i);
    // Takes frame `from` out and puts it back at `to`, the frames between
    // closing up (a drag in the frame list).
    int moveFrame(int from, int to);
    int reverseFrames();
    int incrementDelay(int i);
    // Never below 1: a delay of 1 stays 1.
    int decrementDelay(int i);
    int incrementAllDelays();
    int decrementAllDelays();
    // The preview's gestures: a drag moves one frame or all of them, a
    // double click puts them back to (0, 0).
    int moveFrameOffsets(int i, int dx, int dy);
    int moveAllFrameOffsets(int dx, int dy);
    int resetFrameOffsets(int i);
    int resetAllFrameOffsets();

private:
    std::int32_t m_type = kTypeBitmaps;
    std::int32_t m_playMode = 1;
    std::vector<CAnimationFrame> m_frames;
};
