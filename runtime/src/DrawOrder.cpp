#include "quillop/runtime/DrawOrder.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quillop {

std::vector<std::size_t> orderByY(const std::vector<double>& ys)
{
    std::vector<double> keys(ys.size());
    std::transform(ys.begin(), ys.end(), keys.begin(), [](double y) { return std::isnan(y) ? -INFINITY : y; });
    std::vector<std::size_t> order(ys.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

} // namespace quillop
