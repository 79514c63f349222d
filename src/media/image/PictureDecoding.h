#pragma once

#include <cstddef>
#include <functional>
#include <vector>

class CDisplayBuffer;

namespace PictureDecoding {

// Runs work(0) .. work(count - 1) spread over the processor's cores, this
// thread taking its share, and returns when every one has run.
void forEachTogether(std::size_t count, const std::function<void(std::size_t)>& work);

// Decodes the pictures of the list that still wait for it, spread over the
// processor's cores, and returns when every one is decoded (or found
// broken, as a decode on its own would find it). A view about to show many
// pictures at once then waits for one core's share of them, not for all of
// them in turn. Each picture decodes under its own lock, so a thread that
// asks for one of them meanwhile simply waits for it.
void decodeAll(const std::vector<const CDisplayBuffer*>& pictures);

} // namespace PictureDecoding
