#include "kinds/worlds/CWorldElementSort.h"

#include "kinds/worlds/GameWorld.h"
#include "quillop/runtime/DrawOrder.h"

#include <algorithm>

int CWorldElementSort::sortSelectedByOffsetY(GameWorld& world, std::vector<int> rows)
{
    std::erase_if(rows, [&](int r) { return !world.validElement(r); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    // The order worlds draw in gives what repeated neighbour swaps of the
    // selected rows give, without their quadratic time.
    std::vector<WorldElement> picked;
    picked.reserve(rows.size());
    for (int r : rows)
        picked.push_back(*world.elementAt(r));
    std::vector<double> ys;
    ys.reserve(picked.size());
    for (const WorldElement& e : picked)
        ys.push_back(e.offsetY);
    const std::vector<std::size_t> order = quillop::orderByY(ys);
    int changed = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (order[i] != i)
            changed = 1;
        *world.elementAt(rows[i]) = picked[order[i]];
    }
    return changed;
}
