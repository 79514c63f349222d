// Filtering a picker's list as the user types, over 100,000 IDs: one pass
// of the filter per key. The figure that counts is the time per pass (a key
// typed must not wait; 10 ms is the budget) and its ratio to
// "ReferenceScan", which only looks for the query in every ID as stored,
// the least any filter has to do.
// Run: build/default/bench/item_filter_bench
#include "grid/CItemFilter.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {
constexpr int kItems = 100000;

// IDs as a game's resources are named: a few words, a number.
std::vector<std::string> ids()
{
    static const char* const words[] = {"Hero", "walk", "run", "Enemy", "tree", "bush", "rock", "water", "idle",
                                        "jump", "coin", "door", "Tile", "wall", "sky", "cloud"};
    std::mt19937 rng(11);
    std::vector<std::string> out;
    out.reserve(kItems);
    for (int i = 0; i < kItems; ++i)
        out.push_back(std::string(words[rng() % 16]) + "_" + words[rng() % 16] + "_" + std::to_string(rng() % 1000));
    return out;
}

const char* const kQueries[] = {"w", "wa", "wal", "walk", "walk 1", "walk_12", "zzz"};

void Filter(benchmark::State& state)
{
    CItemFilter filter;
    filter.setIds(ids());
    const char* query = kQueries[state.range(0)];
    std::size_t listed = 0;
    for (auto _ : state) {
        const std::vector<int> rows = filter.filter(query);
        listed = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetLabel(std::string("\"") + query + "\" lists " + std::to_string(listed));
}

void ReferenceScan(benchmark::State& state)
{
    const std::vector<std::string> all = ids();
    const std::string query = kQueries[state.range(0)];
    for (auto _ : state) {
        std::vector<int> rows;
        for (int i = 0; i < kItems; ++i)
            if (all[static_cast<std::size_t>(i)].find(query) != std::string::npos)
                rows.push_back(i);
        benchmark::DoNotOptimize(rows.data());
    }
}

// Made once per list shown, before the first key.
void Preparation(benchmark::State& state)
{
    const std::vector<std::string> all = ids();
    for (auto _ : state) {
        CItemFilter filter;
        filter.setIds(all);
        benchmark::DoNotOptimize(&filter);
    }
}
} // namespace

BENCHMARK(Filter)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(ReferenceScan)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(Preparation)->Unit(benchmark::kMillisecond);
