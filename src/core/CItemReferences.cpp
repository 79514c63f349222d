#include "core/CItemReferences.h"

#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace {
// One item of each group, as findings name it.
constexpr std::array<std::string_view, kGroupCount> kItemNouns = {
    "text", "bitmap", "sound", "animation", "trajectory", "map", "color", "binary file", "user interface", "world",
};
} // namespace

void IItemReferences::followRowChange(int group, const CIndexChange& change)
{
    // Rewritten after the walk, so that the walk never meets its own writes.
    std::vector<std::pair<CItemReference, int>> changed;
    forEachReference([&](const CItemReference& reference) {
        if (reference.group == group) {
            const int now = change.apply(reference.index);
            if (now != reference.index)
                changed.emplace_back(reference, now);
        }
        return true;
    });
    for (const auto& [reference, index] : changed)
        setReference(reference, index);
}

std::optional<CDanglingReference> findDanglingReference(const CResourceHolder& document, int group)
{
    for (int item = 0; item < document.count(group); ++item) {
        const CResourceItem* owner = document.get(group, item);
        const auto* references = dynamic_cast<const IItemReferences*>(owner);
        if (!references)
            continue;
        std::optional<CItemReference> dangling;
        references->forEachReference([&](const CItemReference& reference) {
            const bool known = reference.group >= 0 && reference.group < kGroupCount;
            if (!known || reference.index == -1
                || (reference.index >= 0 && reference.index < document.count(reference.group)))
                return true;
            dangling = reference;
            return false;
        });
        if (!dangling)
            continue;
        const std::string text = references->referencePlace(*dangling) + " of the " + std::string(kItemNouns[group])
                                 + " \"" + owner->id() + "\" (item " + std::to_string(item) + ") "
                                 + dangling->relation + " the " + std::string(kItemNouns[dangling->group]) + " "
                                 + std::to_string(dangling->index) + ", which does not exist.";
        return CDanglingReference{item, *dangling, text};
    }
    return std::nullopt;
}
