#include "quillop/runtime/DrawOrder.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace quillop {

namespace {
// An integer that orders as the y does: -0 as 0, a y that is not a number
// as minus infinity.
std::uint64_t sortKey(double y)
{
    if (std::isnan(y))
        y = -INFINITY;
    if (y == 0.0)
        y = 0.0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &y, sizeof bits);
    constexpr std::uint64_t sign = std::uint64_t(1) << 63;
    return (bits & sign) ? ~bits : bits | sign;
}
} // namespace

std::vector<std::size_t> orderByY(const std::vector<double>& ys)
{
    // A radix sort, byte by byte from the lowest: each pass keeps the order
    // of the one before, so equal values stay in list order, and the time
    // grows with the number of things drawn, not faster, which a game
    // sorting thousands of elements at every step feels.
    struct Keyed {
        std::uint64_t key;
        std::size_t index;
    };
    std::vector<Keyed> keyed(ys.size()), spare(ys.size());
    for (std::size_t i = 0; i < ys.size(); ++i)
        keyed[i] = {sortKey(ys[i]), i};
    for (int shift = 0; shift < 64; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (const Keyed& k : keyed)
            ++starts[((k.key >> shift) & 0xFF) + 1];
        // A byte every key shares orders nothing.
        bool shared = false;
        for (std::size_t count : starts)
            shared = shared || count == keyed.size();
        if (shared)
            continue;
        for (std::size_t b = 1; b < starts.size(); ++b)
            starts[b] += starts[b - 1];
        for (const Keyed& k : keyed)
            spare[starts[(k.key >> shift) & 0xFF]++] = k;
        keyed.swap(spare);
    }
    std::vector<std::size_t> order(ys.size());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].index;
    return order;
}

} // namespace quillop
