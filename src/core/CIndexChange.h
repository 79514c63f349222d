#pragma once

#include <memory>
#include <vector>

// How the rows of a group changed, as a rule that maps a stored reference to
// one of those rows onto its new value. Items of other groups store row
// indexes (animation frames and map cells point at bitmaps, world elements at
// bitmaps, animations, maps, worlds and trajectories); the holder passes one
// change to every item so each can rewrite the references it keeps.
class CIndexChange {
public:
    // Row `row` was deleted; `rowsAfter` rows remain. References to it become
    // -1, references to the rows after it move up by one.
    static CIndexChange removed(int row, int rowsAfter);
    // The row at `from` was taken out and put in at `to`.
    static CIndexChange moved(int from, int to);
    // Rows a and b exchanged places.
    static CIndexChange swapped(int a, int b);
    // The `oldCount` rows were put in `order` (`order[i]` is the old row now
    // at row i; old rows not listed were deleted): a whole command over many
    // rows as one change, the same as its single changes one after another.
    static CIndexChange rearranged(const std::vector<int>& order, int oldCount);
    // Each old row's new row (-1: gone), as a merge of two documents lays
    // the rows of one side out among the other's.
    static CIndexChange mapped(std::vector<int> newRowOfOld);

    int apply(int reference) const;

    // Applies the change to a stored reference in place.
    void update(int& reference) const { reference = apply(reference); }

private:
    enum class Kind { Removed, Moved, Swapped, Rearranged };
    CIndexChange(Kind kind, int a, int b) : m_kind(kind), m_a(a), m_b(b) {}

    Kind m_kind;
    int m_a;
    int m_b;
    // Rearranged: the new row of every old row, -1 for a deleted one.
    std::shared_ptr<const std::vector<int>> m_newRows;
};
