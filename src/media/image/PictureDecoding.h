#pragma once

#include <vector>

class CDisplayBuffer;

namespace PictureDecoding {

// Decodes the pictures of the list that still wait for it, spread over the
// processor's cores, and returns when every one is decoded (or found
// broken, as a decode on its own would find it). A view about to show many
// pictures at once then waits for one core's share of them, not for all of
// them in turn. Each picture decodes under its own lock, so a thread that
// asks for one of them meanwhile simply waits for it.
void decodeAll(const std::vector<const CDisplayBuffer*>& pictures);

} // namespace PictureDecoding
