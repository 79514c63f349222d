#pragma once

#include <cstddef>
#include <vector>

namespace quillop {

// The order that draws lower things later, on top: the positions of `ys` in
// ascending y. Equal values keep their order, as neighbour swaps would keep
// them, and a y that is not a number (only a broken file gives one) sorts
// first instead of breaking the ordering.
std::vector<std::size_t> orderByY(const std::vector<double>& ys);

} // namespace quillop
