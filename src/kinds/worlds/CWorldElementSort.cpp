#include "kinds/worlds/CWorldElementSort.h"

#include "kinds/worlds/GameWorld.h"

#include <algorithm>
#include <cmath>

int CWorldElementSort::sortSelectedByOffsetY(GameWorld& world, std::vector<int> rows)
{
    std::erase_if(rows, [&](int r) { return !world.validElement(r); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    // A stable sort of the selected elements gives what repeated neighbour
    // swaps of the selected rows give, without their quadratic time.
    std::vector<WorldElement> picked;
    picked.reserve(rows.size());
    for (int r : rows)
        picked.push_back(*world.elementAt(r));
    const auto key = [](const WorldElement& e) { return std::isnan(e.offsetY) ? -INFINITY : e.offsetY; };
    std::vector<std::size_t> order(picked.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return key(picked[a]) < key(picked[b]); });
    int changed = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (order[i] != i)
            changed = 1;
        *world.elementAt(rows[i]) = picked[order[i]];
    }
    return changed;
}
