// The grid's commands over many rows: sorting a group (one sort plus one
// renumbering pass) and deleting or grouping half of it (one pass), on a
// document whose worlds refer to the rows being changed. The figure that
// counts is the ratio between the 100,000-row and the 10,000-row runs of
// the same benchmark (n log n gives about 12, n squared 100). The
// "OneRowAtATime" rows time the rule applied a swap or a delete at a time,
// with every reference renumbered after each, on small groups.
// Run: build/default/bench/rows_bench
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/RowOrder.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/GameWorld.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {
constexpr int kElementsPerWorld = 10;

// `rows` animations with random IDs, and one world per ten of them whose
// elements play random animations.
std::unique_ptr<CResourceHolder> document(int rows)
{
    auto h = createDocumentHolder();
    std::mt19937 rng(7);
    for (int i = 0; i < rows; ++i)
        h->newItem(GroupAnimations, "anim " + std::to_string(rng() % 100000));
    for (int w = 0; w < rows / 10; ++w) {
        auto* world = dynamic_cast<GameWorld*>(h->get(GroupWorlds, h->newItem(GroupWorlds, "world")));
        for (int e = 0; e < kElementsPerWorld; ++e) {
            WorldElement* element = world->elementAt(world->addElement("e"));
            element->objectType = WorldObjectAnimation;
            element->objectIndex = static_cast<int>(rng() % static_cast<unsigned>(rows));
        }
    }
    return h;
}

std::vector<int> everyRow(int rows) { return RowOrder::unchanged(rows); }

std::vector<int> everyOtherRow(int rows)
{
    std::vector<int> set;
    for (int r = 0; r < rows; r += 2)
        set.push_back(r);
    return set;
}

int compareIds(const CResourceHolder& h, int a, int b)
{
    return h.get(GroupAnimations, a)->id().compare(h.get(GroupAnimations, b)->id());
}

template <typename Command>
void run(benchmark::State& state, Command command)
{
    const int rows = static_cast<int>(state.range(0));
    std::unique_ptr<CResourceHolder> h;
    for (auto _ : state) {
        state.PauseTiming();
        h = document(rows);  // the last document goes while the clock stands
        state.ResumeTiming();
        command(*h, rows);
        benchmark::DoNotOptimize(h.get());
    }
}

// The IDs read once, as the grid reads its sort keys once per row.
void Sort(benchmark::State& state)
{
    run(state, [](CResourceHolder& h, int rows) {
        std::vector<std::string> ids;
        ids.reserve(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r)
            ids.push_back(h.get(GroupAnimations, r)->id());
        const auto order = RowOrder::sorted(rows, everyRow(rows), true, [&](int a, int b) {
            return ids[static_cast<std::size_t>(a)].compare(ids[static_cast<std::size_t>(b)]);
        });
        h.rearrange(GroupAnimations, order, true);
    });
}

void DeleteHalf(benchmark::State& state)
{
    run(state, [](CResourceHolder& h, int rows) {
        h.rearrange(GroupAnimations, RowOrder::withoutRows(rows, everyOtherRow(rows)), true);
    });
}

void GroupHalf(benchmark::State& state)
{
    run(state, [](CResourceHolder& h, int rows) {
        h.rearrange(GroupAnimations, RowOrder::grouped(rows, everyOtherRow(rows)), true);
    });
}

void SortOneRowAtATime(benchmark::State& state)
{
    run(state, [](CResourceHolder& h, int rows) {
        for (bool swapped = true; swapped;) {
            swapped = false;
            for (int k = 0; k + 1 < rows; ++k)
                if (compareIds(h, k, k + 1) > 0 && h.swap(GroupAnimations, k, k + 1)) {
                    h.renumberReferences(GroupAnimations, CIndexChange::swapped(k, k + 1));
                    swapped = true;
                }
        }
    });
}

void DeleteHalfOneRowAtATime(benchmark::State& state)
{
    run(state, [](CResourceHolder& h, int rows) {
        for (int r = (rows - 1) / 2 * 2; r >= 0; r -= 2)
            if (h.remove(GroupAnimations, r))
                h.renumberReferences(GroupAnimations, CIndexChange::removed(r, h.count(GroupAnimations)));
    });
}
} // namespace

BENCHMARK(Sort)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteHalf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(GroupHalf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortOneRowAtATime)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteHalfOneRowAtATime)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
