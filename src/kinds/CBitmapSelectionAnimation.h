#pragma once

#include <vector>

class CResourceHolder;

// Builds an animation out of bitmaps picked in the Bitmaps grid: one frame
// per bitmap, in the order they were picked.
class CBitmapSelectionAnimation {
public:
    static constexpr const char* kAnimationId = "Bitmaps Selection";

    // Appends the animation ("Bitmaps" type, "Forward Loop", every frame one
    // step long at offset (0, 0)) to the Animations group and answers its
    // row; -1 when no row names a bitmap of the document. Rows that are not
    // bitmaps of the document are left out rather than stored as frames
    // pointing nowhere.
    static int make(CResourceHolder& holder, const std::vector<int>& selectedRows);
};
