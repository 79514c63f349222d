// Sorting the Texts panel by its ID column through the grid's Sort command:
// each row's key read once, one sort, one renumbering pass and the table's
// refresh. The figure that counts is the ratio between the 100,000-row and
// the 10,000-row runs (n log n gives about 12). "ReadingCellsPerComparison"
// sorts the same rows reading both cells at every comparison, as a
// reference for what reading each key once saves.
// Run: build/default/bench/grid_sort_bench
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"
#include "core/RowOrder.h"
#include "grid/CellValue.h"
#include "grid/ui/IPanelHost.h"
#include "kinds/CItemKinds.h"
#include "kinds/texts/ui/CTextsPanel.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {
struct BenchHost : IPanelHost {
    bool maintainRelationships() const override { return true; }
    void markModified() override {}
    void broadcastReload() override {}
    void showPanel(int, bool) override {}
};

void startApplication()
{
    static int argc = 1;
    static char name[] = "grid_sort_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

std::unique_ptr<CResourceHolder> texts(int rows)
{
    auto h = createDocumentHolder();
    std::mt19937 rng(7);
    for (int i = 0; i < rows; ++i)
        h->newItem(GroupTexts, "text " + std::to_string(rng() % 1000000));
    return h;
}

constexpr int kIdColumn = CItemsGrid::kLeadingColumns + CTextsPanel::ColId;

template <typename Sort>
void run(benchmark::State& state, Sort sort)
{
    startApplication();
    const int rows = static_cast<int>(state.range(0));
    BenchHost host;
    for (auto _ : state) {
        state.PauseTiming();
        auto h = texts(rows);
        auto panel = std::make_unique<CTextsPanel>();
        panel->attach(h.get(), &host);
        panel->selectAll();
        panel->setCurrentCell(kIdColumn, 0);
        state.ResumeTiming();
        sort(*panel, rows);
        state.PauseTiming();
        benchmark::DoNotOptimize(h->get(GroupTexts, 0));
        panel.reset();  // the panel and document go while the clock stands
        h.reset();
        state.ResumeTiming();
    }
}

void GridSort(benchmark::State& state)
{
    run(state, [](CTextsPanel& panel, int) { panel.sortItems(true); });
}

void ReadingCellsPerComparison(benchmark::State& state)
{
    run(state, [](CTextsPanel& panel, int rows) {
        const auto order = RowOrder::sorted(rows, RowOrder::unchanged(rows), true, [&](int a, int b) {
            CellValue left;
            CellValue right;
            const int column = kIdColumn - CItemsGrid::kLeadingColumns;
            if (panel.editorCellValue(column, a, left) && panel.editorCellValue(column, b, right))
                return left.isGreaterThan(right) ? 1 : right.isGreaterThan(left) ? -1 : 0;
            return QString::compare(panel.gridCellText(kIdColumn, a), panel.gridCellText(kIdColumn, b));
        });
        panel.rearrangeItems(order);
    });
}
} // namespace

BENCHMARK(GridSort)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadingCellsPerComparison)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
