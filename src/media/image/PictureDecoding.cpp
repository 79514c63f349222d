#include "media/image/PictureDecoding.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace PictureDecoding {

void forEachTogether(std::size_t count, const std::function<void(std::size_t)>& work)
{
    std::atomic<std::size_t> next{0};
    const auto takeShare = [&] {
        for (std::size_t i = next++; i < count; i = next++)
            work(i);
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers = std::min(cores, count) - std::min<std::size_t>(1, count);
    std::vector<std::jthread> threads;
    threads.reserve(helpers);
    for (std::size_t t = 0; t < helpers; ++t)
        threads.emplace_back(takeShare);
    takeShare();  // the helpers join on leaving
}

} // namespace PictureDecoding
