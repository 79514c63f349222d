#pragma once

#include <cstddef>
#include <functional>

namespace PictureDecoding {

// Runs work(0) .. work(count - 1) spread over the processor's cores, this
// thread taking its share, and returns when every one has run.
void forEachTogether(std::size_t count, const std::function<void(std::size_t)>& work);

} // namespace PictureDecoding
