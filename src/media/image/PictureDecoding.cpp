#include "media/image/PictureDecoding.h"

#include "media/image/CDisplayBuffer.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace PictureDecoding {

void decodeAll(const std::vector<const CDisplayBuffer*>& pictures)
{
    std::vector<const CDisplayBuffer*> waiting;
    for (const CDisplayBuffer* picture : pictures)
        if (picture && picture->awaitsDecoding())
            waiting.push_back(picture);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < waiting.size(); i = next++)
            waiting[i]->decodeNow();
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers = std::min(cores, waiting.size()) - std::min<std::size_t>(1, waiting.size());
    std::vector<std::jthread> threads;
    threads.reserve(helpers);
    for (std::size_t t = 0; t < helpers; ++t)
        threads.emplace_back(work);
    work();  // this thread takes its share too; the helpers join on leaving
}

} // namespace PictureDecoding
